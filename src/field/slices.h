// slices.h: the unfolded map on one node plane, and the words and numbers that name it.
//
// WHAT IT IS
//   A slice is every node of one plane of the full grid: the XY plane at a z node, the XZ
//   plane at a y node or the YZ plane at an x node, with one quantity of one field on it: a
//   component (x, y, z) or the magnitude sqrt(x*x + y*y + z*z) of the field's three
//   components at the node, computed in that order. Nothing is interpolated: each cell of a
//   slice is one node. A slice is laid out in columns along its across axis (x on the XY plane,
//   z on the XZ and YZ planes, the long axis lying across) and rows along its up axis (y, x, y).
//   Node n of an axis lies at lo + (n - 1) * step (the full grid's limit and mesh step), a
//   centre node of a mirrored axis at exactly 0 (NODE_COORDINATE), as on the page.
//   SLICE_CSV gives a slice as CSV: the header row i,j,k,x,y,z,value, '#' lines naming the map,
//   the field, the quantity and the plane, then one row per node (i fastest, then j, then k),
//   every number with 17 significant digits.
//
// HOW TO CALL IT
//   const slice_cut cut{slice_plane::xy, NEAREST_NODE_AT(g, 'z', 0.0), slice_quantity::z, 0};
//   const slice_size size = SLICE_SIZE(g, cut.plane);
//   std::vector<double> values; SLICE_VALUES(g, cut, values);   // size.columns * size.rows, row by row
//   const grid_node n = SLICE_NODE(cut, column, row);            // 1-based node of a cell
//   std::string text = SLICE_CSV(g, cut, "MW_map.bin");
//
// ASSUMES AND LIMITS
//   The grid is unfolded (counts not 0), its mesh steps are set (the plot driver sets them) and
//   the triple of cut.field_flag is unfolded. These procedures read only the grid they are
//   handed. The names, units and arrays of the two fields come from the field table
//   (field_table.h); FIELD_* add the magnitude's.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "field/field_grid.h"

namespace orvex {

enum class slice_plane { xy, xz, yz };
enum class slice_quantity { x, y, z, magnitude };

struct slice_cut {
    slice_plane plane = slice_plane::xy;
    int node = 1;  // along the plane's normal axis: k on XY, j on XZ, i on YZ
    slice_quantity quantity = slice_quantity::z;
    int field_flag = 0;  // 0 electric, 1 magnetic
};

struct grid_node {
    int i = 1, j = 1, k = 1;
};

struct slice_size {
    int columns = 0, rows = 0;
    char across = 'x', up = 'y', normal = 'z';  // the axes of columns, rows and the plane's normal
};

// The field's full array of component 1..3 (x, y, z).
const full_array& FIELD_ARRAY(const field_grid_record& g, int field_flag, int component);
// "Ex" .. "Bz", and "|E|" or "|B|" for component 4 (the magnitude).
std::string_view FIELD_COMPONENT_NAME(int field_flag, int component);
// "Ez (V/cm)", as the page titles a value axis; "|E| (V/cm)" for component 4.
std::string_view FIELD_VALUE_TITLE(int field_flag, int component);
std::string_view FIELD_UNIT(int field_flag);   // "V/cm" or "Gs"
std::string_view FIELD_NAME(int field_flag);   // "electric" or "magnetic"

// Nodes along axis 'x', 'y' or 'z' of the full grid.
int AXIS_NODES(const field_grid_record& g, char axis);
// Where node n of the axis lies, in cm.
double NODE_COORDINATE(const field_grid_record& g, char axis, int n);
// The node of the axis nearest coordinate (ties to the lower node; the ends beyond the grid).
int NEAREST_NODE_AT(const field_grid_record& g, char axis, double coordinate);

slice_size SLICE_SIZE(const field_grid_record& g, slice_plane plane);
grid_node SLICE_NODE(const slice_cut& cut, int column, int row);  // column, row 1-based
// The quantity at one node.
double NODE_VALUE(const field_grid_record& g, int field_flag, slice_quantity quantity, grid_node n);
// Every cell of the slice, row by row (the first row at the lowest up node).
void SLICE_VALUES(const field_grid_record& g, const slice_cut& cut, std::vector<double>& into);

std::string_view PLANE_NAME(slice_plane plane);  // "XY", "XZ", "YZ"
// "Ez (V/cm) on the XY plane at z = 0 cm (node 201 of 401)"
std::string SLICE_TITLE(const field_grid_record& g, const slice_cut& cut);
// A coordinate in its shortest form of up to digits significant digits ("0", "-1.5"). The
// slice and node-line texts give node coordinates with 12 (place_digits): lo + (n - 1) * step
// carries rounding in its last digits (0.0749999999999993 for 0.075), which 12 hide.
inline constexpr int place_digits = 12;
std::string SHORT_COORDINATE(double v, int digits = 15);

std::string SLICE_CSV(const field_grid_record& g, const slice_cut& cut, std::string_view map_file);

}  // namespace orvex
