// slices.cpp: one node plane of the full map, its title and its CSV text.
#include "field/slices.h"

#include <algorithm>
#include <cmath>

#include "console/console.h"
#include "console/csv_text.h"
#include "console/number_text.h"
#include "field/field_table.h"

namespace orvex {

namespace {

// The magnitude is no component of the field table: its names are kept here.
constexpr std::array<std::string_view, 2> magnitude_names = {"|E|", "|B|"};
constexpr std::array<std::string_view, 2> magnitude_titles = {"|E| (V/cm)", "|B| (Gs)"};

std::size_t FIELD_SLOT(int field) { return field == 1 ? 1 : 0; }
std::size_t PLACE_OF(slice_quantity q) { return static_cast<std::size_t>(std::min(static_cast<int>(q), 2)); }

}  // namespace

std::string_view QUANTITY_NAME(int field, slice_quantity quantity) {
    if (quantity == slice_quantity::magnitude) return magnitude_names[FIELD_SLOT(field)];
    return FIELD_ENTRY(field).component_names[PLACE_OF(quantity)];
}

std::string_view QUANTITY_TITLE(int field, slice_quantity quantity) {
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
    const std::size_t at = FULL_INDEX(n.i, n.j, n.k);
    const component_triple f = FIELD_TRIPLE(m, field);
    if (quantity != slice_quantity::magnitude) return (*f[PLACE_OF(quantity)])[at];
    const double x = (*f[0])[at], y = (*f[1])[at], z = (*f[2])[at];
    return std::sqrt(x * x + y * y + z * z);
}

void SLICE_VALUES(const full_map& m, const slice_cut& cut, std::vector<double>& into) {
    const slice_size size = SLICE_SIZE(m, cut.plane);
    into.resize(static_cast<std::size_t>(size.columns) * static_cast<std::size_t>(size.rows));
    std::size_t cell = 0;
    for (int row = 1; row <= size.rows; ++row) {
        for (int column = 1; column <= size.columns; ++column)
            into[cell++] = NODE_VALUE(m, cut.field, cut.quantity, SLICE_NODE(cut, column, row));
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
                           L_REAL(NODE_VALUE(m, cut.field, cut.quantity, n))});
        }
    }
    return text;
}

}  // namespace orvex
