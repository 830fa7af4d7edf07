// multipole_detail.cpp: b_n(z), a_n(z) and c_n(z) of one harmonic in a detail window; see
// multipole_detail.h. The three curves are handed over as a line of a page of their own, as the
// line through any node is (node_line_window.cpp).
#include "window/multipole_detail.h"

#include <QAction>
#include <QWidget>

#include <array>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "console/number_text.h"
#include "field/field_table.h"
#include "field/multipoles.h"
#include "page/plotted_page.h"
#include "window/detail_window.h"

namespace orvex {

namespace {

constexpr std::size_t curves = 3;  // b_n, a_n, c_n

// The names and titles of every harmonic's curves ("b3", "b3 (units)"), made once: the detail
// window keeps views of them.
struct curve_texts {
    std::array<std::array<std::string, curves>, multipole_order_limit> names, titles;
};
const curve_texts& TEXTS() {
    static const curve_texts texts = [] {
        curve_texts t;
        for (std::size_t n = 0; n < multipole_order_limit; ++n) {
            for (std::size_t c = 0; c < curves; ++c) {
                t.names[n][c] = std::string(1, "bac"[c]) + std::to_string(n + 1);
                t.titles[n][c] = t.names[n][c] + " (units)";
            }
        }
        return t;
    }();
    return texts;
}

// What the CSV export says the values are: the field's multipoles, in units.
const field_entry& MULTIPOLE_ENTRY(int field) {
    static const std::array<field_entry, 2> entries = [] {
        std::array<field_entry, 2> e = field_table;
        for (field_entry& f : e) {
            f.name = f.flag == 1 ? "magnetic multipoles" : "electric multipoles";
            f.unit = "units";
            f.component_names = {"b_n", "a_n", "c_n"};
            f.title = "b_n, a_n and c_n = |b_n + i a_n| in 1e-4 of |C_M(z)|";
        }
        return e;
    }();
    return entries[field == 1 ? 1 : 0];
}

}  // namespace

QWidget* OPEN_MULTIPOLE_DETAIL(const full_map& map, int field, double r_ref, int n, std::string_view map_file,
                               QWidget* parent) {
    const multipole_planes planes = MULTIPOLE_PLANES(map, field, r_ref);
    const multipole_figures figures = MULTIPOLE_FIGURES(map, planes);
    if (figures.main == 0 || n < 1 || n > planes.order) return nullptr;
    std::array<std::vector<double>, curves> values;
    for (std::vector<double>& v : values) v.assign(static_cast<std::size_t>(planes.nz), NAN);
    for (int k = 1; k <= planes.nz; ++k) {
        const auto units = PLANE_UNITS(planes, k, n, figures.main);
        if (!units) continue;
        const auto at = static_cast<std::size_t>(k - 1);
        values[0][at] = units->real();
        values[1][at] = units->imag();
        values[2][at] = std::abs(*units);
    }
    const std::string title = "Z (cm), " + std::string(MULTIPOLE_ENTRY(field).name) + " at r_ref = " + NUMBER_G(r_ref, 6) + " cm";
    const auto& texts = TEXTS();
    plotted_page page;
    page.map_file = map_file;
    page.field = &MULTIPOLE_ENTRY(field);
    for (std::size_t c = 0; c < curves; ++c) {
        plotted_panel& p = page.panels[c];
        p.panel = static_cast<std::int32_t>(c + 1);
        p.line = 0;  // none of the page's ten lines
        p.component = static_cast<std::int32_t>(c + 1);
        p.n = planes.nz;
        p.pos = planes.z.data();
        p.val = values[c].data();
        p.axis = 'z';
        p.axis_title = title;
        p.value_title = texts.titles[static_cast<std::size_t>(n - 1)][c];
        p.component_name = texts.names[static_cast<std::size_t>(n - 1)][c];
        p.unit = "units";
        // On the axis: no fixed nodes to name (fixed_names stay 0), x = y = 0.
    }
    QWidget* opened = OPEN_DETAIL_WINDOW(page, 1, parent);
    if (opened == nullptr) return nullptr;
    // a_n is shown beside b_n from the start.
    const QString skew = QString::fromStdString(texts.names[static_cast<std::size_t>(n - 1)][1]);
    for (QAction* action : opened->findChildren<QAction*>()) {
        if (action->isCheckable() && action->text() == skew) action->setChecked(true);
    }
    return opened;
}

}  // namespace orvex
