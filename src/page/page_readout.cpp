// page_readout.cpp: the panel and node under a point of the page, and the readout's words.
#include "page/page_readout.h"

#include "field/slices.h"

#include <cmath>

#include "console/console.h"
#include "console/number_text.h"
#include "surface/data_pixel.h"

namespace orvex {

// The first and last nodes lie on the frame; a pointer a little outside it still reads them.
constexpr double panel_reach = 2.0;

int PANEL_AT(const plotted_page& page, double u, double v) {
    for (const plotted_panel& p : page.panels) {
        if (p.panel == 0) continue;
        const panel_record& f = p.frame;
        if (u >= f.ix1 - panel_reach && u < f.ix2 + 1 + panel_reach && v >= f.iy1 - panel_reach &&
            v < f.iy2 + 1 + panel_reach) {
            return p.panel;
        }
    }
    return 0;
}

int NEAREST_NODE(const plotted_panel& p, double u) {
    if (p.n < 1 || p.pos == nullptr) return 0;
    const double at = DATA_AT_PIXEL_ACROSS(u, p.scale.x_lo, p.scale.x_hi, p.frame.ix1, p.frame.ix2 - p.frame.ix1);
    int best = 0;
    double best_distance = 0.0;
    for (int i = 0; i < p.n; ++i) {
        if (!std::isfinite(p.pos[i])) continue;
        const double distance = std::fabs(p.pos[i] - at);
        if (best == 0 || distance < best_distance) {
            best = i + 1;
            best_distance = distance;
        }
    }
    return best;
}

node_pixel NODE_PIXEL(const plotted_panel& p, int node) {
    node_pixel out;
    if (node < 1 || node > p.n || !p.scale.drawable) return out;
    const double pos = p.pos[node - 1], val = p.val[node - 1];
    if (!std::isfinite(pos) || !std::isfinite(val)) return out;
    const panel_record& f = p.frame;
    const double px = DATA_PIXEL_ACROSS(pos, p.scale.x_lo, p.scale.x_hi, f.ix1, f.ix2 - f.ix1);
    const double py = DATA_PIXEL_UP(val, p.scale.y_lo, p.scale.y_hi, f.iy2, f.iy2 - f.iy1);
    // A vertex far off the panel (beyond its scale ends) is not shown, nor one without a place:
    // a scale whose span overflows (values of +-DBL_MAX) gives NaN, never converted to int.
    if (!(px >= f.ix1 - 2 && px <= f.ix2 + 2 && py >= f.iy1 - 2 && py <= f.iy2 + 2)) return out;
    out.x = static_cast<int>(px);
    out.y = static_cast<int>(py);
    out.shown = true;
    return out;
}

std::string SHORT_LISTED_REAL(double v) {
    const std::string padded = FORMAT_LISTED_REAL(v);
    const std::size_t first = padded.find_first_not_of(' ');
    return first == std::string::npos ? padded : padded.substr(first);
}

std::string READOUT_VALUE(double v) {
    if (!std::isfinite(v)) return SHORT_LISTED_REAL(v);
    if (v == 0.0) v = 0.0;  // a mirrored zero reads 0, not -0
    return NUMBER_E(v, 14);
}

namespace {

std::string TRIMMED(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

}  // namespace

std::string READOUT_TEXT(const plotted_panel& p, int node) {
    if (node < 1 || node > p.n) return {};
    const auto axis_of = [](char index) { return index == 'i' ? 'x' : index == 'j' ? 'y' : 'z'; };
    std::string text = "line " + NUMBER_I(p.line) + " " + TRIMMED(p.axis_title) + " (";
    text += p.fixed_names[0];
    text += ", ";
    text += p.fixed_names[1];
    text += " = " + NUMBER_I(p.fixed_index[0]) + ", " + NUMBER_I(p.fixed_index[1]) + ": ";
    text += axis_of(p.fixed_names[0]);
    text += " = " + SHORT_COORDINATE(p.fixed_coordinate[0]) + ", ";
    text += axis_of(p.fixed_names[1]);
    text += " = " + SHORT_COORDINATE(p.fixed_coordinate[1]) + " cm)";
    text += " | node " + NUMBER_I(node);
    text += " | ";
    text += p.axis;
    text += " = " + SHORT_LISTED_REAL(p.pos[node - 1]) + " cm";
    text += " | " + std::string(p.component_name) + " = " + READOUT_VALUE(p.val[node - 1]) + " " + std::string(p.unit);
    return text;
}

std::string PAGE_SUMMARY(const plotted_page& page) {
    std::string text = page.map_file.empty() ? std::string("the map") : std::string(page.map_file);
    const field_entry& f = *page.field;
    text += ": the " + std::string(f.name) + " field, " + std::string(f.component_names[0]) + ", " +
            std::string(f.component_names[1]) + " and " + std::string(f.component_names[2]) + " in " +
            std::string(f.unit);
    text += ", along ten lines. Point at a panel to read its values; double-click it for a closer look.";
    return text;
}

}  // namespace orvex
