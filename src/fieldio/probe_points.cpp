// probe_points.cpp: the two forms of POINTS that the command line spells out (line:, circle:),
// and the choice between them and a file; see probe_points.h.
#include "fieldio/probe_points.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "console/console.h"

namespace orvex {

namespace {

constexpr std::string_view line_form = "line:X0,Y0,Z0:X1,Y1,Z1:N";
constexpr std::string_view circle_form = "circle:R,Z:N";

std::string_view TRIM_BLANKS(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// text split at every separator.
std::vector<std::string_view> SPLIT(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, from)) {
        parts.push_back(text.substr(from, at - from));
        from = at + 1;
    }
    parts.push_back(text.substr(from));
    return parts;
}

// names.size() finite numbers from text, comma-separated; false with why set otherwise.
bool READ_VALUES(std::string_view text, std::initializer_list<std::string_view> names, double* values,
                 std::string& why) {
    const std::vector<std::string_view> parts = SPLIT(text, ',');
    if (parts.size() != names.size()) {
        why = std::to_string(names.size()) + " numbers ";
        for (const std::string_view name : names) why += std::string(name) + (name == *(names.end() - 1) ? "" : ",");
        why += " are wanted, not \"" + VISIBLE_TEXT(text) + "\"";
        return false;
    }
    std::size_t n = 0;
    for (const std::string_view name : names) {
        if (!READ_PROBE_NUMBER(parts[n], values[n]) || !std::isfinite(values[n])) {
            why = std::string(name) + " is not a finite number: \"" + VISIBLE_TEXT(parts[n]) + "\"";
            return false;
        }
        ++n;
    }
    return true;
}

// The count N of a form: a whole number from least to max_probe_points.
bool READ_COUNT(std::string_view text, long long least, int& count, std::string& why) {
    const std::string_view t = TRIM_BLANKS(text);
    long long n = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), n);
    if (r.ec != std::errc{} || r.ptr != t.data() + t.size() || t.empty()) {
        why = "N is not a whole number: \"" + VISIBLE_TEXT(text) + "\"";
        return false;
    }
    if (n < least || n > static_cast<long long>(max_probe_points)) {
        why = "N must be from " + std::to_string(least) + " to " + std::to_string(max_probe_points) + ", not " +
              std::to_string(n);
        return false;
    }
    count = static_cast<int>(n);
    return true;
}

int REFUSED(std::string_view argument, std::string_view form, const std::string& what, std::string& why) {
    why = "--probe " + VISIBLE_TEXT(argument) + ": " + what;
    if (!form.empty()) why += " (the form is " + std::string(form) + ")";
    return 2;
}

}  // namespace

bool READ_PROBE_NUMBER(std::string_view text, double& v) {
    std::string_view t = TRIM_BLANKS(text);
    if (t.size() > 1 && t[0] == '+' && t[1] != '-' && t[1] != '+') t.remove_prefix(1);
    if (t.empty()) return false;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return r.ec == std::errc{} && r.ptr == t.data() + t.size();
}

std::string_view CARRIED_CELLS(const probe_points& p, std::size_t k) {
    if (k + 1 >= p.carried_from.size()) return {};
    return std::string_view(p.carried_text).substr(p.carried_from[k], p.carried_from[k + 1] - p.carried_from[k]);
}

int MAKE_PROBE_POINTS(std::string_view argument, probe_points& out, std::string& why) {
    out = probe_points{};
    out.source = std::string(argument);
    if (argument.empty()) return REFUSED(argument, {}, "an empty argument names no points", why);
    std::string what;
    if (argument.starts_with("line:")) {
        const std::vector<std::string_view> parts = SPLIT(argument, ':');
        std::array<double, 6> v{};
        int n = 0;
        if (parts.size() != 4) return REFUSED(argument, line_form, "a line has three parts after \"line:\"", why);
        if (!READ_VALUES(parts[1], {"X0", "Y0", "Z0"}, v.data(), what) ||
            !READ_VALUES(parts[2], {"X1", "Y1", "Z1"}, v.data() + 3, what) || !READ_COUNT(parts[3], 2, n, what))
            return REFUSED(argument, line_form, what, why);
        out.at = SEGMENT_POINTS({v[0], v[1], v[2]}, {v[3], v[4], v[5]}, n);
        return 0;
    }
    if (argument.starts_with("circle:")) {
        const std::vector<std::string_view> parts = SPLIT(argument, ':');
        std::array<double, 2> v{};
        int n = 0;
        if (parts.size() != 3) return REFUSED(argument, circle_form, "a circle has two parts after \"circle:\"", why);
        if (!READ_VALUES(parts[1], {"R", "Z"}, v.data(), what) || !READ_COUNT(parts[2], 1, n, what))
            return REFUSED(argument, circle_form, what, why);
        if (v[0] < 0.0) return REFUSED(argument, circle_form, "the radius R is negative", why);
        out.at = CIRCLE_POINTS(v[0], v[1], n);
        return 0;
    }
    out.from_file = true;
    return READ_POINTS_FILE(argument, out, why);
}

}  // namespace orvex
