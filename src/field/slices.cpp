// slices.cpp: one node plane of the unfolded map, its title and its CSV text.
#include "field/slices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "console/console.h"
#include "field/field_table.h"

namespace orvex {

namespace {

// The magnitude is no component of the field table: its names are kept here.
constexpr std::array<std::string_view, 2> magnitude_names = {"|E|", "|B|"};
constexpr std::array<std::string_view, 2> magnitude_titles = {"|E| (V/cm)", "|B| (Gs)"};

std::size_t FIELD_SLOT(int field_flag) { return field_flag == 1 ? 1 : 0; }
std::size_t COMPONENT_SLOT(int component) { return static_cast<std::size_t>(std::clamp(component, 1, 3) - 1); }

// A number with 17 significant digits; NaN and infinities as words a CSV reader takes.
void APPEND_NUMBER(std::string& text, double v) {
    if (std::isnan(v)) {
        text += "nan";
    } else if (std::isinf(v)) {
        text += v > 0 ? "inf" : "-inf";
    } else {
        char number[32];
        std::snprintf(number, sizeof number, "%.17g", v);
        text += number;
    }
}

}  // namespace

const full_array& FIELD_ARRAY(const field_grid_record& g, int field_flag, int component) {
    return g.*FIELD_ENTRY(field_flag).full[COMPONENT_SLOT(component)];
}

std::string_view FIELD_COMPONENT_NAME(int field_flag, int component) {
    if (component == 4) return magnitude_names[FIELD_SLOT(field_flag)];
    return FIELD_ENTRY(field_flag).component_names[COMPONENT_SLOT(component)];
}

std::string_view FIELD_VALUE_TITLE(int field_flag, int component) {
    if (component == 4) return magnitude_titles[FIELD_SLOT(field_flag)];
    return FIELD_ENTRY(field_flag).value_titles[COMPONENT_SLOT(component)];
}

std::string_view FIELD_UNIT(int field_flag) { return FIELD_ENTRY(field_flag).unit; }
std::string_view FIELD_NAME(int field_flag) { return FIELD_ENTRY(field_flag).name; }

int AXIS_NODES(const field_grid_record& g, char axis) { return axis == 'x' ? g.nx : axis == 'y' ? g.ny : g.nz; }

double NODE_COORDINATE(const field_grid_record& g, char axis, int n) {
    const double lo = axis == 'x' ? g.xmin : axis == 'y' ? g.ymin : g.zmin;
    const double step = axis == 'x' ? g.dx : axis == 'y' ? g.dy : g.dz;
    const double at = lo + static_cast<double>(n - 1) * step;
    // The centre node of a mirrored axis lies on 0 up to the rounding of the step.
    return std::fabs(at) < 1e-9 * std::fabs(step) ? 0.0 : at;
}

int NEAREST_NODE_AT(const field_grid_record& g, char axis, double coordinate) {
    const int count = AXIS_NODES(g, axis);
    if (count <= 1) return 1;
    const double lo = NODE_COORDINATE(g, axis, 1);
    const double step = axis == 'x' ? g.dx : axis == 'y' ? g.dy : g.dz;
    if (!(step > 0.0) || !std::isfinite(coordinate)) return 1;
    const double steps = (coordinate - lo) / step;
    if (steps <= 0.0) return 1;
    if (steps >= count - 1) return count;
    // Round half down: a point midway between two nodes takes the lower one.
    const double below = std::floor(steps);
    return static_cast<int>(below) + 1 + (steps - below > 0.5 ? 1 : 0);
}

slice_size SLICE_SIZE(const field_grid_record& g, slice_plane plane) {
    switch (plane) {
        case slice_plane::xy: return {g.nx, g.ny, 'x', 'y', 'z'};
        case slice_plane::xz: return {g.nz, g.nx, 'z', 'x', 'y'};
        case slice_plane::yz: return {g.nz, g.ny, 'z', 'y', 'x'};
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

double NODE_VALUE(const field_grid_record& g, int field_flag, slice_quantity quantity, grid_node n) {
    const std::size_t at = FULL_INDEX(n.i, n.j, n.k);
    if (quantity != slice_quantity::magnitude) return FIELD_ARRAY(g, field_flag, static_cast<int>(quantity) + 1)[at];
    const double x = FIELD_ARRAY(g, field_flag, 1)[at];
    const double y = FIELD_ARRAY(g, field_flag, 2)[at];
    const double z = FIELD_ARRAY(g, field_flag, 3)[at];
    return std::sqrt(x * x + y * y + z * z);
}

void SLICE_VALUES(const field_grid_record& g, const slice_cut& cut, std::vector<double>& into) {
    const slice_size size = SLICE_SIZE(g, cut.plane);
    into.resize(static_cast<std::size_t>(size.columns) * static_cast<std::size_t>(size.rows));
    std::size_t cell = 0;
    for (int row = 1; row <= size.rows; ++row) {
        for (int column = 1; column <= size.columns; ++column)
            into[cell++] = NODE_VALUE(g, cut.field_flag, cut.quantity, SLICE_NODE(cut, column, row));
    }
}

std::string_view PLANE_NAME(slice_plane plane) {
    return plane == slice_plane::xy ? "XY" : plane == slice_plane::xz ? "XZ" : "YZ";
}

std::string SHORT_COORDINATE(double v, int digits) {
    if (v == 0.0) return "0";  // also -0
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, v);
    return text;
}

std::string SLICE_TITLE(const field_grid_record& g, const slice_cut& cut) {
    const slice_size size = SLICE_SIZE(g, cut.plane);
    std::string title(FIELD_VALUE_TITLE(cut.field_flag, static_cast<int>(cut.quantity) + 1));
    title += " on the " + std::string(PLANE_NAME(cut.plane)) + " plane at ";
    title += size.normal;
    title += " = " + SHORT_COORDINATE(NODE_COORDINATE(g, size.normal, cut.node), place_digits) + " cm (node " +
             std::to_string(cut.node) + " of " + std::to_string(AXIS_NODES(g, size.normal)) + ")";
    return title;
}

std::string SLICE_CSV(const field_grid_record& g, const slice_cut& cut, std::string_view map_file) {
    const slice_size size = SLICE_SIZE(g, cut.plane);
    std::string text = "i,j,k,x,y,z,value\n";
    text += "# plot_orvex_3dfields slice\n";
    text += "# map file: " + VISIBLE_TEXT(map_file) + "\n";
    text += "# field: " + std::string(FIELD_NAME(cut.field_flag)) + " (" + std::string(FIELD_UNIT(cut.field_flag)) +
            "); coordinates in cm\n";
    text += "# quantity: " + std::string(FIELD_COMPONENT_NAME(cut.field_flag, static_cast<int>(cut.quantity) + 1)) + "\n";
    text += "# plane: " + std::string(PLANE_NAME(cut.plane)) + " at ";
    text += size.normal;
    text += " = " + SHORT_COORDINATE(NODE_COORDINATE(g, size.normal, cut.node), place_digits) + " cm (node " +
            std::to_string(cut.node) + " of " + std::to_string(AXIS_NODES(g, size.normal)) + ")\n";
    text.reserve(text.size() + static_cast<std::size_t>(size.columns) * static_cast<std::size_t>(size.rows) * 120);
    // Rows with i fastest, then j, then k: on every plane the column axis is the faster of the two.
    const bool across_fastest = cut.plane == slice_plane::xy;
    const int outer_count = across_fastest ? size.rows : size.columns;
    const int inner_count = across_fastest ? size.columns : size.rows;
    for (int outer = 1; outer <= outer_count; ++outer) {
        for (int inner = 1; inner <= inner_count; ++inner) {
            const grid_node n = across_fastest ? SLICE_NODE(cut, inner, outer) : SLICE_NODE(cut, outer, inner);
            text += std::to_string(n.i) + ',' + std::to_string(n.j) + ',' + std::to_string(n.k) + ',';
            APPEND_NUMBER(text, NODE_COORDINATE(g, 'x', n.i));
            text += ',';
            APPEND_NUMBER(text, NODE_COORDINATE(g, 'y', n.j));
            text += ',';
            APPEND_NUMBER(text, NODE_COORDINATE(g, 'z', n.k));
            text += ',';
            APPEND_NUMBER(text, NODE_VALUE(g, cut.field_flag, cut.quantity, n));
            text += '\n';
        }
    }
    return text;
}

}  // namespace orvex
