// points_file.cpp: a points file (a CSV table naming x, y and z) read into the probe's points;
// see probe_points.h for what it accepts.
//
// The file is opened and mapped as every text input is (text_open.cpp: no FIFO waited on, a
// byte-order mark skipped, UTF-16 and UTF-32 named), then cut into lines here: a line ends at
// LF (a CR before it dropped, so CR LF and CR CR LF too), or at CR when the file's first line
// ends with a CR alone. No scan looks further than longest_scan bytes past the start of a line.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "console/console.h"
#include "console/csv_text.h"
#include "console/run_stop.h"
#include "fieldio/freeform.h"
#include "fieldio/probe_points.h"

namespace orvex {

namespace {

// Where a failure is, and what it says; the status it ends with.
struct file_failure {
    int status = 0;
    std::string why;
};

struct line_cutter {
    const char* p = nullptr;
    const char* end = nullptr;
    char eol = '\n';
    std::int64_t number = 0;  // of the line last cut
};

std::string PLACE(std::string_view path, std::int64_t line) {
    std::string place = VISIBLE_TEXT(path);
    if (line > 0) {
        place += ':';
        place += std::to_string(line);
    }
    place += ": ";
    return place;
}

// The line end a file uses: CR when its first line ends with a CR alone, else LF.
char LINE_END_OF(const char* p, const char* end) {
    const char* limit = static_cast<std::size_t>(end - p) > longest_scan ? p + longest_scan : end;
    const char* at = std::find_if(p, limit, [](char c) { return c == '\n' || c == '\r'; });
    return at != limit && *at == '\r' && (at + 1 == end || (at[1] != '\n' && at[1] != '\r')) ? '\r' : '\n';
}

// The next line, without its line end; false at the end of the text or on a failure (set).
bool NEXT_LINE(line_cutter& c, std::string_view path, std::string_view& line, file_failure& f) {
    if (c.p == c.end) return false;
    ++c.number;
    const std::size_t left = static_cast<std::size_t>(c.end - c.p);
    const std::size_t scan = std::min(left, longest_scan + 1);
    const auto* at = static_cast<const char*>(std::memchr(c.p, c.eol, scan));
    const char* stop = at != nullptr ? at : c.p + scan;
    if (std::memchr(c.p, '\0', static_cast<std::size_t>(stop - c.p)) != nullptr) {
        f = {1, PLACE(path, c.number) + "holds a NUL byte; the file is not plain text"};
        return false;
    }
    if (at == nullptr && scan < left) {
        f = {2, PLACE(path, c.number) + "the line is longer than " + std::string(longest_scan_text)};
        return false;
    }
    line = std::string_view(c.p, static_cast<std::size_t>(stop - c.p));
    while (c.eol == '\n' && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    c.p = at != nullptr ? at + 1 : c.end;
    return true;
}

// A line to skip: blank, or a comment ('#' its first character that is not a blank).
bool SKIPPED(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

void SPLIT_CELLS(std::string_view line, std::vector<std::string_view>& cells) {
    cells.clear();
    std::size_t from = 0;
    for (std::size_t at = line.find(','); at != std::string_view::npos; at = line.find(',', from)) {
        cells.push_back(line.substr(from, at - from));
        from = at + 1;
    }
    cells.push_back(line.substr(from));
}

// A cell without the double quotes it is wrapped in; false when it holds any other quote.
bool UNQUOTED(std::string_view cell, std::string_view& text) {
    const std::size_t first = cell.find_first_not_of(" \t");
    const std::size_t last = cell.find_last_not_of(" \t");
    if (first != std::string_view::npos && last > first && cell[first] == '"' && cell[last] == '"') {
        text = cell.substr(first + 1, last - first - 1);
    } else {
        text = cell;
    }
    return text.find('"') == std::string_view::npos;
}

// A cell carried through: as it stands, but for control characters (as \xNN) and '#'.
void CARRY(std::string& out, std::string_view cell) {
    out += ',';
    const bool plain = std::all_of(cell.begin(), cell.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 && u < 0x7F && c != '#';
    });
    if (plain) {
        out += cell;
        return;
    }
    std::string shown = VISIBLE_TEXT(cell);
    std::replace(shown.begin(), shown.end(), '#', '_');
    out += shown;
}

// The header row: the columns of x, y and z and the carried names; false with f set.
bool READ_HEADER(std::string_view line, std::string_view path, std::int64_t number, std::array<std::size_t, 3>& xyz,
                 std::vector<std::size_t>& carried, probe_points& out, file_failure& f) {
    std::vector<std::string_view> cells;
    SPLIT_CELLS(line, cells);
    xyz.fill(cells.size());
    std::vector<std::string> taken = {"point", "x", "y", "z", "Ex", "Ey", "Ez", "Bx", "By", "Bz"};
    std::string names;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        std::string_view name;
        if (!UNQUOTED(cells[c], name)) {
            f = {2, PLACE(path, number) + "a name holds a double quote; the file must be plain CSV"};
            return false;
        }
        const std::size_t first = name.find_first_not_of(" \t");
        name = first == std::string_view::npos ? std::string_view{} : name.substr(first, name.find_last_not_of(" \t") - first + 1);
        names += (c == 0 ? "" : ", ") + VISIBLE_TEXT(name);
        const std::size_t axis = name == "x" ? 0 : name == "y" ? 1 : name == "z" ? 2 : 3;
        if (axis < 3) {
            if (xyz[axis] != cells.size()) {
                f = {2, PLACE(path, number) + "the header row names " + std::string(name) + " twice"};
                return false;
            }
            xyz[axis] = c;
            continue;
        }
        // Carried names are tokens, and none repeats a name of the probe's own or an earlier one.
        std::string token;
        CSV_TOKEN(token, name);
        while (std::find(taken.begin(), taken.end(), token) != taken.end()) token = "file_" + token;
        taken.push_back(token);
        out.carried_names.push_back(token);
        carried.push_back(c);
    }
    if (names.size() > 200) names = names.substr(0, 200) + "...";
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (xyz[axis] != cells.size()) continue;
        f = {2, PLACE(path, number) + "the header row names no column " + std::string(1, static_cast<char>('x' + axis)) +
                    " (it names " + names + "); it must name x, y and z"};
        return false;
    }
    return true;
}

// One row: the point and its carried cells; false with f set.
bool READ_ROW(std::string_view line, std::string_view path, std::int64_t number, const std::array<std::size_t, 3>& xyz,
              const std::vector<std::size_t>& carried, std::size_t columns, std::vector<std::string_view>& cells,
              probe_points& out, file_failure& f) {
    SPLIT_CELLS(line, cells);
    if (cells.size() != columns && line.find('"') != std::string_view::npos) {
        f = {2, PLACE(path, number) + "a cell holds a double quote; the file must be plain CSV (no quoted commas or quotes)"};
        return false;
    }
    if (cells.size() != columns) {
        f = {2, PLACE(path, number) + "the row has " + std::to_string(cells.size()) + " cells, the header row names " +
                    std::to_string(columns)};
        return false;
    }
    if (out.at.size() == max_probe_points) {
        f = {2, PLACE(path, number) + "more than " + std::to_string(max_probe_points) + " points"};
        return false;
    }
    point3 p{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        std::string_view text;
        if (!UNQUOTED(cells[xyz[axis]], text) || !READ_PROBE_NUMBER(text, p[axis])) {
            const std::string_view shown = cells[xyz[axis]].substr(0, 60);
            f = {2, PLACE(path, number) + std::string(1, static_cast<char>('x' + axis)) + " is not a number: \"" +
                        VISIBLE_TEXT(shown) + "\""};
            return false;
        }
    }
    out.at.push_back(p);
    for (const std::size_t c : carried) {
        std::string_view text;
        if (!UNQUOTED(cells[c], text)) {
            f = {2, PLACE(path, number) + "a cell holds a double quote; the file must be plain CSV (no quoted commas or quotes)"};
            return false;
        }
        CARRY(out.carried_text, text);
    }
    out.carried_from.push_back(out.carried_text.size());
    return true;
}

}  // namespace

int READ_POINTS_FILE(std::string_view path, probe_points& out, std::string& why) {
    text_file text;
    try {
        OPEN_TEXT(text, path);
    } catch (const run_stop& stop) {
        constexpr std::string_view prefix = "plot_orvex_3dfields: ";
        why = stop.message.starts_with(prefix) ? stop.message.substr(prefix.size()) : stop.message;
        return 1;
    }
    if (!WIDE_ENCODING(text).empty() || STARTS_BINARY(text)) {
        why = PLACE(path, 0) + "is not a text file" +
              (WIDE_ENCODING(text).empty() ? std::string() : " (it is " + std::string(WIDE_ENCODING(text)) + "); save it as plain text");
        return 1;
    }
    line_cutter c{text.pos, text.end, LINE_END_OF(text.pos, text.end), 0};
    file_failure f;
    std::string_view line;
    std::array<std::size_t, 3> xyz{};
    std::vector<std::size_t> carried;
    std::size_t columns = 0;
    bool header = false;
    std::vector<std::string_view> cells;
    out.carried_from.assign(1, 0);
    while (NEXT_LINE(c, path, line, f)) {
        if (SKIPPED(line)) continue;
        if (!header) {
            if (!READ_HEADER(line, path, c.number, xyz, carried, out, f)) break;
            header = true;
            columns = carried.size() + 3;
        } else if (!READ_ROW(line, path, c.number, xyz, carried, columns, cells, out, f)) {
            break;
        }
        text.pos = c.p;
        RELEASE_READ_PAGES(text);
    }
    if (f.status == 0 && !header)
        f = {2, PLACE(path, 0) + (text.begin == text.end ? "the file is empty" : "the file holds no header row") +
                    "; it must hold a header row naming x, y and z, and a row per point"};
    if (f.status == 0 && out.at.empty()) f = {2, PLACE(path, 0) + "the file holds no points (a header row and no rows)"};
    why = f.why;
    return f.status;
}

}  // namespace orvex
