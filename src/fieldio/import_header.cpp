// import_header.cpp: the header styles of solvers' tables, their column names and units.
#include "fieldio/import_header.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

namespace orvex::mapimport {

namespace {

constexpr double mu0_gauss = 0.0125663706212;  // 1 A/m as B in Gs: mu0 = 1.25663706212e-6 T m/A

constexpr std::array<unit_info, 18> units{{
    {"m", quantity::length, 100.0, 1.0},         {"mm", quantity::length, 1.0, 10.0},
    {"cm", quantity::length, 1.0, 1.0},          {"metre", quantity::length, 100.0, 1.0},
    {"meter", quantity::length, 100.0, 1.0},     {"V/m", quantity::electric, 1.0, 100.0},
    {"V/cm", quantity::electric, 1.0, 1.0},      {"kV/m", quantity::electric, 10.0, 1.0},
    {"MV/m", quantity::electric, 1e4, 1.0},      {"T", quantity::magnetic, 1e4, 1.0},
    {"mT", quantity::magnetic, 10.0, 1.0},       {"Gs", quantity::magnetic, 1.0, 1.0},
    {"G", quantity::magnetic, 1.0, 1.0},         {"Gauss", quantity::magnetic, 1.0, 1.0},
    {"kGs", quantity::magnetic, 1e3, 1.0},       {"kG", quantity::magnetic, 1e3, 1.0},
    {"kGauss", quantity::magnetic, 1e3, 1.0},    {"A/m", quantity::magnetic, mu0_gauss, 1.0},
}};

std::string LOWER(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view TRIM(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool SEPARATOR(char c) { return c == ' ' || c == '\t' || c == ','; }

// "x [mm]  es.Ex (V/m)  real(emw.Ex) (V/m)": names, each with the unit that follows it.
std::vector<table_column> PARSE_NAMES(std::string_view line) {
    std::vector<table_column> columns;
    std::size_t i = 0;
    while (i < line.size()) {
        if (SEPARATOR(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '[' || line[i] == '(') {
            const char close = line[i] == '[' ? ']' : ')';
            const std::size_t end = line.find(close, i);
            if (end == std::string_view::npos) REFUSE("the header line \"" + SHOWN_TEXT(line) + "\" leaves a bracket open");
            if (!columns.empty() && columns.back().unit.empty())
                columns.back().unit = std::string(TRIM(line.substr(i + 1, end - i - 1)));
            i = end + 1;
            continue;
        }
        std::string name;
        while (i < line.size() && !SEPARATOR(line[i]) && line[i] != '[') {
            if (line[i] == '(') {
                const std::string lower = LOWER(name);
                if (lower != "re" && lower != "real" && lower != "im" && lower != "imag") break;
                const std::size_t end = line.find(')', i);
                if (end == std::string_view::npos) break;
                name.append(line.substr(i, end - i + 1));
                i = end + 1;
                continue;
            }
            name += line[i++];
        }
        columns.push_back({name, "", role_ignored, column_part::whole});
    }
    return columns;
}

bool ALL_NUMBERS(std::string_view line, std::vector<std::string_view>& fields) {
    SPLIT_FIELDS(line, fields);
    double v = 0.0;
    return !fields.empty() && std::all_of(fields.begin(), fields.end(), [&](std::string_view f) { return READ_NUMBER(f, v); });
}

bool DASHES(std::string_view line) { return line.find_first_not_of("-=_ \t") == std::string_view::npos; }

// The lines of a text, each without its line end, with its offset.
struct line_cursor {
    std::string_view text;
    std::size_t at = 0;
    long long number = 0;
    bool NEXT(std::string_view& line, std::size_t& start) {
        if (at >= text.size()) return false;
        start = at;
        const std::size_t end = text.find('\n', at);
        line = text.substr(at, (end == std::string_view::npos ? text.size() : end) - at);
        at = end == std::string_view::npos ? text.size() : end + 1;
        ++number;
        return true;
    }
};

}  // namespace

const unit_info* FIND_UNIT(std::string_view text) {
    const std::string lower = LOWER(TRIM(text));
    for (const unit_info& u : units)
        if (LOWER(u.name) == lower) return &u;
    return nullptr;
}

double TO_MAP_UNITS(const unit_info& unit, double v) {
    if (unit.divide != 1.0) return v / unit.divide;
    return unit.multiply == 1.0 ? v : v * unit.multiply;
}

std::string_view QUANTITY_NAME(quantity q) {
    return q == quantity::length ? "length" : q == quantity::electric ? "electric field" : "magnetic field";
}

void SPLIT_FIELDS(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        while (i < n && (SEPARATOR(line[i]) || line[i] == '\r')) ++i;
        const std::size_t start = i;
        while (i < n && !SEPARATOR(line[i]) && line[i] != '\r') ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
}

bool READ_NUMBER(std::string_view text, double& v) {
    v = 0.0;
    if (text.size() > 64) return false;  // no number a solver writes is longer
    char copy[65];
    std::memcpy(copy, text.data(), text.size());
    const std::size_t d = text.find_first_of("dD");
    if (d != std::string_view::npos) copy[d] = 'e';  // a Fortran D exponent
    const char* first = copy[0] == '+' && text.size() > 1 && copy[1] != '-' ? copy + 1 : copy;
    const char* last = copy + text.size();
    const auto r = std::from_chars(first, last, v);
    if (r.ptr != last) return false;
    if (r.ec == std::errc::result_out_of_range) {
        // Below the smallest double: a signed zero. Beyond the largest: no number here.
        const std::string_view t(copy, text.size());
        const std::size_t e = t.find_first_of("eE");
        const bool below = e != std::string_view::npos && e + 1 < t.size() && t[e + 1] == '-';
        v = below ? (copy[0] == '-' ? -0.0 : 0.0) : (copy[0] == '-' ? -HUGE_VAL : HUGE_VAL);
        return below;
    }
    return r.ec == std::errc{};
}

table_head READ_TABLE_HEAD(std::string_view text) {
    table_head head;
    line_cursor cursor{text};
    std::string_view line, names_line, percent_line;
    std::size_t start = 0;
    std::vector<std::string_view> fields;
    bool first = true;
    while (cursor.NEXT(line, start)) {
        const std::string_view t = TRIM(line);
        if (t.empty()) continue;
        if (t[0] == '%' || t[0] == '#') {
            const std::string_view note = TRIM(t.substr(1));
            const std::string lower = LOWER(note);
            if (t[0] == '%' && lower.starts_with("length unit:")) head.units_note = std::string(TRIM(note.substr(12)));
            else if (t[0] == '#' && lower.starts_with("units:")) head.units_note = std::string(TRIM(note.substr(6)));
            else if (t[0] == '#') READ_PROVENANCE_NOTE(note, cursor.number, head.provenance);
            else if (t[0] == '%') percent_line = note;
            continue;
        }
        if (DASHES(t)) continue;
        if (ALL_NUMBERS(t, fields)) {
            // "nx ny nz 2" followed by numbered column lines: the count style.
            line_cursor peek = cursor;
            std::string_view next;
            std::size_t next_start = 0;
            if (first && (fields.size() == 3 || fields.size() == 4) && peek.NEXT(next, next_start) &&
                TRIM(next).starts_with("1") && !ALL_NUMBERS(TRIM(next), fields)) {
                SPLIT_FIELDS(t, fields);
                for (std::size_t a = 0; a < 3; ++a) {
                    double count = 0.0;
                    READ_NUMBER(fields[a], count);
                    if (!(count >= 1.0 && count <= 1e8) || count != std::floor(count))
                        REFUSE("line " + std::to_string(cursor.number) + ": the count line gives \"" + SHOWN_TEXT(fields[a]) +
                               "\" nodes along " + "xyz"[a] + ", not a count");
                    head.counts[a] = static_cast<long long>(count);
                }
                while (cursor.NEXT(line, start)) {
                    const std::string_view c = TRIM(line);
                    if (c == "0") break;
                    const std::size_t blank = c.find_first_of(" \t");
                    if (blank == std::string_view::npos)
                        REFUSE("line " + std::to_string(cursor.number) + ", \"" + SHOWN_TEXT(c) +
                               "\", should name a column (\"4 BX [GAUSS]\") or be 0");
                    for (table_column& col : PARSE_NAMES(c.substr(blank + 1))) head.columns.push_back(col);
                }
                first = false;
                continue;
            }
            head.data_offset = start;
            head.data_line = cursor.number;
            break;
        }
        names_line = t;
        first = false;
        head.data_offset = cursor.at;
        head.data_line = cursor.number + 1;
    }
    if (head.columns.empty()) {
        if (!names_line.empty()) head.columns = PARSE_NAMES(names_line);
        else if (!percent_line.empty()) head.columns = PARSE_NAMES(percent_line);
    }
    return head;
}

void NAME_COLUMN(table_column& column) {
    std::string n = LOWER(column.name);
    column.part = column_part::whole;
    const auto inside = [&](std::string_view function, column_part part) {
        if (n.size() > function.size() + 2 && n.starts_with(function) && n[function.size()] == '(' && n.back() == ')') {
            n = n.substr(function.size() + 1, n.size() - function.size() - 2);
            column.part = part;
        }
    };
    inside("real", column_part::real);
    inside("re", column_part::real);
    inside("imag", column_part::imaginary);
    inside("im", column_part::imaginary);
    if (const std::size_t dot = n.rfind('.'); dot != std::string::npos) n = n.substr(dot + 1);
    // A part before the name, as some exports write it: re_Ex, im_Ex, real_Ex, imag_Ex.
    for (const auto& [prefix, part] : {std::pair<std::string_view, column_part>{"re_", column_part::real},
                                       {"real_", column_part::real}, {"im_", column_part::imaginary},
                                       {"imag_", column_part::imaginary}})
        if (column.part == column_part::whole && n.size() == prefix.size() + 2 && n.starts_with(prefix)) {
            n = n.substr(prefix.size());
            column.part = part;
        }
    if (column.part == column_part::whole && n.size() > 2) {
        std::string tail = n.substr(2);
        if (tail.starts_with("_")) tail = tail.substr(1);
        if (tail == "re" || tail == "real") column.part = column_part::real;
        if (tail == "im" || tail == "imag") column.part = column_part::imaginary;
        if (column.part != column_part::whole) n = n.substr(0, 2);
    }
    static constexpr std::array<std::string_view, 12> names{"x", "y", "z", "ex", "ey", "ez", "bx", "by", "bz", "hx", "hy", "hz"};
    column.role = role_ignored;
    for (std::size_t r = 0; r < names.size(); ++r)
        if (n == names[r]) column.role = static_cast<int>(r < 9 ? r : r - 3);
}

}  // namespace orvex::mapimport
