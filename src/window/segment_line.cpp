// segment_line.cpp: the field along a segment between any two points, interpolated, shown in a
// detail window as a line's profile is.
#include <QVariant>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "field/field_table.h"
#include "field/probe.h"
#include "page/plotted_page.h"
#include "window/detail_window.h"
#include "window/slice_window.h"

namespace orvex {

namespace {

std::string POINT_TEXT(const point3& p) {
    std::string text = "(";
    for (std::size_t c = 0; c < 3; ++c) {
        text += SHORT_COORDINATE(p[c], place_digits);
        text += c < 2 ? ", " : ")";
    }
    return text;
}

}  // namespace

QWidget* OPEN_SEGMENT_LINE(const full_map& grid, int field_flag, std::string_view map_file, const segment_request& segment,
                           int component, QWidget* parent) {
    const int n = std::clamp(segment.samples, 2, max_segment_samples);
    const std::vector<point3> points = SEGMENT_POINTS(segment.from, segment.to, n);
    const std::vector<double> s = SEGMENT_POSITIONS(segment.from, segment.to, n);
    const std::array<component_triple, 1> triple{FIELD_TRIPLE(grid, field_flag)};
    std::array<std::vector<double>, 3> values;
    for (std::vector<double>& v : values) v.resize(static_cast<std::size_t>(n));
    std::vector<double> flat(3 * static_cast<std::size_t>(n));
    for (std::size_t k = 0; k < points.size(); ++k) {
        std::array<double, 3> v{};
        PROBE_AT(grid, segment.rule, points[k], triple, v.data());
        for (std::size_t c = 0; c < 3; ++c) {
            values[c][k] = v[c];
            flat[3 * k + c] = points[k][c];
        }
    }
    const std::string title = "s (cm) from " + POINT_TEXT(segment.from) + " to " + POINT_TEXT(segment.to) + " cm, " +
                              std::string(INTERPOLATION_NAME(segment.rule));
    // The segment as the page's first line (line 0: none of the ten), its three components.
    plotted_page page;
    page.map_file = map_file;
    page.field = &FIELD_ENTRY(field_flag);
    for (int c = 1; c <= 3; ++c) {
        plotted_panel& p = page.panels[static_cast<std::size_t>(c - 1)];
        p.panel = c;
        p.line = 0;
        p.component = c;
        p.n = n;
        p.pos = s.data();
        p.val = values[static_cast<std::size_t>(c - 1)].data();
        p.points = flat.data();
        p.axis = 's';
        p.axis_title = title;
        p.value_title = QUANTITY_TITLE(field_flag, static_cast<slice_quantity>(c - 1));
        p.component_name = QUANTITY_NAME(field_flag, static_cast<slice_quantity>(c - 1));
        p.unit = FIELD_ENTRY(field_flag).unit;
    }
    QWidget* opened = OPEN_DETAIL_WINDOW(page, std::clamp(component, 1, 3), parent);
    if (opened != nullptr) {
        const point3 &a = segment.from, &b = segment.to;
        opened->setProperty(detail_segment_property,
                            QVariantList{a[0], a[1], a[2], b[0], b[1], b[2], n,
                                         segment.rule == interpolation::linear ? 0 : 1, component});
    }
    return opened;
}

}  // namespace orvex
