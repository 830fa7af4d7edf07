// slices.h: the full map on one node plane, and the words and numbers that name it.
//
// WHAT IT IS
//   A slice is every node of one plane of the full map: the XY plane at a z node, the XZ
//   plane at a y node or the YZ plane at an x node, with one quantity of one field on it: a
//   component (x, y, z) or the magnitude sqrt(x*x + y*y + z*z) of the field's three
//   components at the node, computed in that order. Nothing is interpolated: each cell of a
//   slice is one node.
//   With another map to compare with (slice_cut.compared, compare.h) a slice shows the
//   difference of each of those at this map's nodes: this map's component minus the other's
//   read there (its node value, or its cubic interpolation), and for the magnitude |F| of this
//   map minus |F| of the other. Beyond the other's region, and without another map, the
//   difference is NaN. These quantities are named "Ex diff" .. "|E| diff". A slice is laid out in columns along its across axis (x on the XY plane,
//   z on the XZ and YZ planes, the long axis lying across) and rows along its up axis (y, x, y).
//   Nodes lie where the full map places them (full_map.h), as on the page.
//   SLICE_CSV gives a slice as CSV: the header row i,j,k,x,y,z,value, '#' lines naming the map,
//   the field, the quantity and the plane, then one row per node (i fastest, then j, then k),
//   every number with 17 significant digits (the same text as the map's CSV export for the
//   same node).
//
// HOW TO CALL IT
//   const slice_cut cut{slice_plane::xy, NEAREST_NODE_AT(m, 'z', 0.0), slice_quantity::z, 0};
//   slice_cut diff = cut;  diff.quantity = DIFFERENCE_OF(cut.quantity);  diff.compared = &pairing;
//   const slice_size size = SLICE_SIZE(m, cut.plane);
//   std::vector<double> values; SLICE_VALUES(m, cut, values);   // size.columns * size.rows, row by row
//   const grid_node n = SLICE_NODE(cut, column, row);            // 1-based node of a cell
//   std::string text = SLICE_CSV(m, cut, "MW_map.bin");
//
// ASSUMES AND LIMITS
//   The map is complete with counts not 0. These procedures read only the map they are
//   handed. The names and units of the two fields come from the field table (field_table.h);
//   QUANTITY_* add the magnitude's.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "field/full_map.h"

namespace orvex {

enum class slice_plane { xy, xz, yz };
// The four quantities of a map, then their differences from another map, in the same order.
enum class slice_quantity { x, y, z, magnitude, difference_x, difference_y, difference_z, difference_magnitude };
inline constexpr int map_quantity_count = 4, quantity_count = 8;

struct map_pairing;

struct slice_cut {
    slice_plane plane = slice_plane::xy;
    int node = 1;  // along the plane's normal axis: k on XY, j on XZ, i on YZ
    slice_quantity quantity = slice_quantity::z;
    int field = 0;  // 0 electric, 1 magnetic
    const map_pairing* compared = nullptr;  // this map against another: the difference quantities
};

// Whether a quantity is a difference; the quantity of the map it is the difference of
// (x .. magnitude; itself for those); and the difference of a quantity.
bool IS_DIFFERENCE(slice_quantity quantity);
slice_quantity MAP_QUANTITY(slice_quantity quantity);
slice_quantity DIFFERENCE_OF(slice_quantity quantity);

struct slice_size {
    int columns = 0, rows = 0;
    char across = 'x', up = 'y', normal = 'z';  // the axes of columns, rows and the plane's normal
};

// "Ex" .. "Bz", and "|E|" or "|B|" for the magnitude; "Ex diff" .. "|B| diff".
std::string_view QUANTITY_NAME(int field, slice_quantity quantity);
// "Ez (V/cm)", as the page titles a value axis; "|E| (V/cm)" for the magnitude; "Ez diff (V/cm)".
std::string_view QUANTITY_TITLE(int field, slice_quantity quantity);

slice_size SLICE_SIZE(const full_map& m, slice_plane plane);
grid_node SLICE_NODE(const slice_cut& cut, int column, int row);  // column, row 1-based
// The quantity at one node (NaN for a difference: it needs the other map).
double NODE_VALUE(const full_map& m, int field, slice_quantity quantity, grid_node n);
// The cut's quantity at one node, a difference too.
double CUT_VALUE(const full_map& m, const slice_cut& cut, grid_node n);
// Every cell of the slice, row by row (the first row at the lowest up node).
void SLICE_VALUES(const full_map& m, const slice_cut& cut, std::vector<double>& into);

std::string_view PLANE_NAME(slice_plane plane);  // "XY", "XZ", "YZ"
// "Ez (V/cm) on the XY plane at z = 0 cm (node 201 of 401)"
std::string SLICE_TITLE(const full_map& m, const slice_cut& cut);
// A coordinate in its shortest form of up to digits significant digits ("0", "-1.5"). The
// slice and node-line texts give node coordinates with 12 (place_digits): (n - 1) * step + lo
// carries rounding in its last digits (0.0749999999999993 for 0.075), which 12 hide.
inline constexpr int place_digits = 12;
std::string SHORT_COORDINATE(double v, int digits = 15);

std::string SLICE_CSV(const full_map& m, const slice_cut& cut, std::string_view map_file);

}  // namespace orvex
