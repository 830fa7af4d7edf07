// slices.cpp: one node plane of the full map, its title and its CSV text.
#include "field/slices.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "console/console.h"
#include "console/csv_text.h"
#include "console/number_text.h"
#include "field/compare.h"
#include "field/field_table.h"

namespace orvex {

namespace {

// The magnitude is no component of the field table: its names are kept here, and those of the
// differences (per field: x, y, z, magnitude).
constexpr std::array<std::string_view, 2> magnitude_names = {"|E|", "|B|"};
constexpr std::array<std::string_view, 2> magnitude_titles = {"|E| (V/cm)", "|B| (Gs)"};
constexpr std::array<std::array<std::string_view, 4>, 2> difference_names{
    {{"Ex diff", "Ey diff", "Ez diff", "|E| diff"}, {"Bx diff", "By diff", "Bz diff", "|B| diff"}}};
constexpr std::array<std::array<std::string_view, 4>, 2> difference_titles{
    {{"Ex diff (V/cm)", "Ey diff (V/cm)", "Ez diff (V/cm)", "|E| diff (V/cm)"},
     {"Bx diff (Gs)", "By diff (Gs)", "Bz diff (Gs)", "|B| diff (Gs)"}}};

std::size_t FIELD_SLOT(int field) { return field == 1 ? 1 : 0; }
std::size_t PLACE_OF(slice_quantity q) { return static_cast<std::size_t>(std::min(static_cast<int>(MAP_QUANTITY(q)), 2)); }

double MAGNITUDE(const std::array<double, 3>& f) { return std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]); }

}  // namespace

bool IS_DIFFERENCE(slice_quantity quantity) { return static_cast<int>(quantity) >= map_quantity_count; }

slice_quantity MAP_QUANTITY(slice_quantity quantity) {
    return static_cast<slice_quantity>(static_cast<int>(quantity) % map_quantity_count);
}

slice_quantity DIFFERENCE_OF(slice_quantity quantity) {
    return static_cast<slice_quantity>(static_cast<int>(MAP_QUANTITY(quantity)) + map_quantity_count);
}

std::string_view QUANTITY_NAME(int field, slice_quantity quantity) {
    if (IS_DIFFERENCE(quantity)) return difference_names[FIELD_SLOT(field)][static_cast<std::size_t>(MAP_QUANTITY(quantity))];
    if (quantity == slice_quantity::magnitude) return magnitude_names[FIELD_SLOT(field)];
    return FIELD_ENTRY(field).component_names[PLACE_OF(quantity)];
}

std::string_view QUANTITY_TITLE(int field, slice_quantity quantity) {
    if (IS_DIFFERENCE(quantity)) return difference_titles[FIELD_SLOT(field)][static_cast<std::size_t>(MAP_QUANTITY(quantity))];
    if (quantity == slice_quantity::magnitude) return magnitude_titles[FIELD_SLOT(field)];
    return FIELD_ENTRY(field).value_titles[PLACE_OF(quantity)];
}

slice_size SLICE_SIZE(const full_map& m, slice_plane plane) {
    switch (plane) {
        case slice_plane::xy: return {m.nx, m.ny, 'x', 'y', 'z'};
        case slice_plane::xz: return {m.nz, m.nx, 'z', 'x', 'y'};
        case slice_plane::yz: return {m.nz, m.ny, 'z', 'y', 'x'};
    }
    return {};
}

grid_node SLICE_NODE(const slice_cut& cut, int column, int row) {
    switch (cut.plane) {
        case slice_plane::xy: return {column, row, cut.node};
        case slice_plane::xz: return {row, cut.node, column};
        case slice_plane::yz: return {cut.node, row, column};
    }
    return {};
}

double NODE_VALUE(const full_map& m, int field, slice_quantity quantity, grid_node n) {
    if (IS_DIFFERENCE(quantity)) return std::numeric_limits<double>::quiet_NaN();
    const std::size_t at = FULL_INDEX(n.i, n.j, n.k);
    const component_triple f = FIELD_TRIPLE(m, field);
    if (quantity != slice_quantity::magnitude) return (*f[PLACE_OF(quantity)])[at];
    const double x = (*f[0])[at], y = (*f[1])[at], z = (*f[2])[at];
    return std::sqrt(x * x + y * y + z * z);
}

double CUT_VALUE(const full_map& m, const slice_cut& cut, grid_node n) {
    if (!IS_DIFFERENCE(cut.quantity)) return NODE_VALUE(m, cut.field, cut.quantity, n);
    std::array<double, 3> theirs{};
    if (cut.compared == nullptr || cut.compared->self != &m || !OTHER_AT_NODE(*cut.compared, cut.field, n, theirs))
        return std::numeric_limits<double>::quiet_NaN();
    const slice_quantity q = MAP_QUANTITY(cut.quantity);
    if (q != slice_quantity::magnitude) return NODE_VALUE(m, cut.field, q, n) - theirs[PLACE_OF(q)];
    return NODE_VALUE(m, cut.field, q, n) - MAGNITUDE(theirs);
}

void SLICE_VALUES(const full_map& m, const slice_cut& cut, std::vector<double>& into) {
    const slice_size size = SLICE_SIZE(m, cut.plane);
    into.resize(static_cast<std::size_t>(size.columns) * static_cast<std::size_t>(size.rows));
    std::size_t cell = 0;
    for (int row = 1; row <= size.rows; ++row) {
        for (int column = 1; column <= size.columns; ++column)
            into[cell++] = CUT_VALUE(m, cut, SLICE_NODE(cut, column, row));
    }
}

std::string_view PLANE_NAME(slice_plane plane) {
    return plane == slice_plane::xy ? "XY" : plane == slice_plane::xz ? "XZ" : "YZ";
}

std::string SHORT_COORDINATE(double v, int digits) {
    if (v == 0.0) return "0";  // also -0
    return NUMBER_G(v, digits);
}

namespace {

// "z = 0 cm (node 201 of 401)": where the plane of a cut lies.
std::string PLANE_PLACE(const full_map& m, const slice_cut& cut) {
    const slice_size size = SLICE_SIZE(m, cut.plane);
    std::string text(1, size.normal);
    text += " = " + SHORT_COORDINATE(NODE_COORDINATE(m, size.normal, cut.node), place_digits) + " cm (node " +
            NUMBER_I(cut.node) + " of " + NUMBER_I(AXIS_NODES(m, size.normal)) + ")";
    return text;
}

}  // namespace

std::string SLICE_TITLE(const full_map& m, const slice_cut& cut) {
    return std::string(QUANTITY_TITLE(cut.field, cut.quantity)) + " on the " + std::string(PLANE_NAME(cut.plane)) +
           " plane at " + PLANE_PLACE(m, cut);
}

std::string SLICE_CSV(const full_map& m, const slice_cut& cut, std::string_view map_file) {
    const slice_size size = SLICE_SIZE(m, cut.plane);
    const field_entry& f = FIELD_ENTRY(cut.field);
    std::string text;
    CSV_HEADER(text, {"i", "j", "k", "x", "y", "z", "value"});
    CSV_NOTE(text, "plot_orvex_3dfields slice");
    CSV_NOTE(text, "map file: " + std::string(map_file));
    CSV_NOTE(text, "field: " + std::string(f.name) + " (" + std::string(f.unit) + "); coordinates in cm");
    CSV_NOTE(text, "quantity: " + std::string(QUANTITY_NAME(cut.field, cut.quantity)));
    if (IS_DIFFERENCE(cut.quantity))
        CSV_NOTE(text, "difference: this map minus " +
                           (cut.compared != nullptr ? std::string(cut.compared->other_file) : std::string("another map")) +
                           ", read at this map's nodes");
    CSV_NOTE(text, "plane: " + std::string(PLANE_NAME(cut.plane)) + " at " + PLANE_PLACE(m, cut));
    text.reserve(text.size() + static_cast<std::size_t>(size.columns) * static_cast<std::size_t>(size.rows) * 120);
    // Rows with i fastest, then j, then k: on every plane the column axis is the faster of the two.
    const bool across_fastest = cut.plane == slice_plane::xy;
    const int outer_count = across_fastest ? size.rows : size.columns;
    const int inner_count = across_fastest ? size.columns : size.rows;
    for (int outer = 1; outer <= outer_count; ++outer) {
        for (int inner = 1; inner <= inner_count; ++inner) {
            const grid_node n = across_fastest ? SLICE_NODE(cut, inner, outer) : SLICE_NODE(cut, outer, inner);
            CSV_ROW(text, {L_INT(n.i), L_INT(n.j), L_INT(n.k), L_REAL(NODE_COORDINATE(m, 'x', n.i)),
                           L_REAL(NODE_COORDINATE(m, 'y', n.j)), L_REAL(NODE_COORDINATE(m, 'z', n.k)),
                           L_REAL(CUT_VALUE(m, cut, n))});
        }
    }
    return text;
}

}  // namespace orvex
