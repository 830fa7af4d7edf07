// profiles_csv.cpp: the rows of the profile export, numbers by std::to_chars.
#include "page/profiles_csv.h"

#include <charconv>
#include <cmath>

#include "console/console.h"
#include "console/file_output.h"

namespace orvex {

namespace {

std::string_view TRIMMED(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The 17 significant digits that read back as v; "nan", "inf" or "-inf" when v is not finite.
void APPEND_NUMBER(std::string& out, double v) {
    if (std::isnan(v)) {
        out += "nan";
        return;
    }
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::general, 17);
    out.append(digits, written.ptr);
}

void APPEND_INTEGER(std::string& out, int v) {
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, v);
    out.append(digits, written.ptr);
}

void APPEND_QUOTED(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// A field that needs no quotes stands as it is.
void APPEND_FIELD(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
    } else {
        APPEND_QUOTED(out, text);
    }
}

void APPEND_COMMENTS(std::string& out, const plotted_page& page) {
    const bool magnetic = page.field_name == "magnetic";
    out += "# plot_orvex_3dfields profiles\n# map file: ";
    out += VISIBLE_TEXT(TRIMMED(page.map_file));
    out += "\n# field: ";
    out += VISIBLE_TEXT(page.field_name.empty() ? std::string_view("electric") : page.field_name);
    out += magnetic ? " (Bx, By, Bz in Gs)" : " (Ex, Ey, Ez in V/cm)";
    out += "; positions in cm\n";
}

}  // namespace

std::string PROFILES_CSV(const plotted_page& page, std::span<const int> panels) {
    std::size_t rows = 0;
    for (const int panel : panels) {
        if (panel >= 1 && panel <= panel_count) rows += static_cast<std::size_t>(page.panels[panel - 1].n);
    }
    std::string out;
    out.reserve(256 + rows * 72);
    APPEND_COMMENTS(out, page);
    out += "line,axis,component,node,position,value\n";
    for (const int panel : panels) {
        if (panel < 1 || panel > panel_count) continue;
        const plotted_panel& p = page.panels[panel - 1];
        // The fields every row of this panel begins with.
        std::string lead;
        APPEND_INTEGER(lead, p.line);
        lead += ',';
        APPEND_QUOTED(lead, TRIMMED(p.axis_title));
        lead += ',';
        APPEND_FIELD(lead, TRIMMED(p.component_name));
        lead += ',';
        for (int node = 1; node <= p.n; ++node) {
            out += lead;
            APPEND_INTEGER(out, node);
            out += ',';
            APPEND_NUMBER(out, p.pos[node - 1]);
            out += ',';
            APPEND_NUMBER(out, p.val[node - 1]);
            out += '\n';
        }
    }
    return out;
}

bool WRITE_PROFILES_CSV(std::string_view path, const plotted_page& page, std::span<const int> panels,
                        std::string* why) {
    return WRITE_FILE_ATOMICALLY(path, PROFILES_CSV(page, panels), why);
}

}  // namespace orvex
