// map_writer.h: writes analytic field maps in the three layouts, for tests, examples and
// benchmarks, and fills stored arrays directly for tests of later stages.
//
// A map_recipe says which map: the kind (0 E only, 1 B only, 2 both), the three mirror flags,
// the coordinate ranges (uniform nodes from lo to hi on each axis), the header values of the
// array layouts and, for the node list, the kind and counts written on its first lines (so a
// test can write a mismatch). The field at every stored node is FIELD_AT, the analytic field of
// analytic_field.h, whose parities match the unfolding: an unfolded map equals FIELD_AT on the
// whole region.
//
// Layouts:
//   binary: records framed by 4-byte little-endian lengths before and after each body:
//           (d_elm, aper, n_cell), (three flags), xmws, ymws, zmws, then the component
//           arrays (Ex Ey Ez for kind 0, Bx By Bz for kind 1, all six for kind 2), each with
//           x fastest; the lattice is field_grid's stored one (field/field_grid.h).
//   text:   the same groups as free-form text, each group starting on a new line, values
//           with `digits` significant digits.
//   nodes:  kind line, flags line, three range lines (lo hi count), then one line per node
//           with z fastest and x slowest (3 or 6 values; none for a kind outside 0..2).
#pragma once

#include <cmath>
#include <cstdint>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analytic_field.h"
#include "field/field_grid.h"
#include "device_fields.h"
#include "map_defects.h"
#include "physics_fields.h"

namespace orvex::mapgen {

enum class layout { binary, text, nodes };  // format_flag 0, 1, 2

// A stored lattice given node by node (an imported table) instead of a model: the coordinates
// of field_grid's stored lattice and the six component arrays (x fastest; zero where not carried).
struct stored_lattice {
    std::vector<double> x, y, z;
    std::array<std::vector<double>, 6> values;  // Ex Ey Ez Bx By Bz
};

struct map_recipe {
    int kind = 2;                               // 0 E only, 1 B only, 2 both: which components are written
    int ksym_yz = 0, ksym_xz = 0, ksym_xy = 0;  // written as the three flags
    double x_hi = 2.0, y_hi = 2.0, z_hi = 50.0; // upper limits; lower limit is 0 on a mirrored
                                                // axis, -hi otherwise (x_lo etc. may be overridden)
    double x_lo = NAN, y_lo = NAN, z_lo = NAN;  // NAN: take the rule above
    double d_elm = 100.0, aper = 2.0;           // header of the array layouts
    int n_cell = 0;                             // header of the array layouts (kind 2 needs > 0
                                                // unless the name says "MW")
    int node_kind = -1;                         // nodes layout: kind written on line 1 (-1: kind)
    int nx = stored_nx, ny = stored_ny, nz = stored_nz;  // nodes layout: counts written (to test mismatch)
    int digits = 17;                            // significant digits in the text layouts
    field_model model = field_model::analytic;  // analytic test field, or a device for examples
    const stored_lattice* lattice = nullptr;    // when set: the coordinates and field of every
                                                // node, and x_lo..z_hi its end coordinates
    multipole_magnet magnet;                    // the field of model multipole
};

// Stored coordinate of node i (1-based) on each axis, as written.
double STORED_X(const map_recipe&, int i);
double STORED_Y(const map_recipe&, int j);
double STORED_Z(const map_recipe&, int k);

// The field of the recipe at a point: the analytic field of its kind (analytic_field.h), with
// coordinates scaled by the half-extents of the map's region (the larger of |lo| and |hi| on
// each axis), or the device field of its model (device_fields.h). The components the kind does
// not carry are 0.0.
field_value FIELD_AT(const map_recipe&, double x, double y, double z);

// Writes the analytic map in a layout, whole; false on an I/O failure.
bool WRITE_FIELD_MAP(const map_recipe&, layout, const std::string& path);

// The bytes WRITE_FIELD_MAP writes for a clean map.
std::string BUILD_FIELD_MAP(const map_recipe&, layout);

// Fills field_grid-shaped stored arrays directly (no file), for tests of later stages:
// xmws/ymws/zmws and the six arrays (array order i fastest), the
// components the kind does not carry set to 0.0, as a reader leaves them. The header values and
// flags are the caller's to copy from the map_recipe. Declared with plain pointers so tools/ does
// not depend on the field grid's record.
struct stored_target {
    double* xmws;
    double* ymws;
    double* zmws;
    double* ex;
    double* ey;
    double* ez;
    double* bx;
    double* by;
    double* bz;
};
void FILL_STORED(const map_recipe&, const stored_target&);

// How a file is written beyond the map itself: text style for the inputs that must be read
// (Windows line ends, tabs, D exponents, non-finite values) and damage for the inputs that must
// be refused. The default writes a clean file.
struct node_ref {
    int i, j, k;  // stored node, 1-based
};
struct text_poke {
    int line;          // 1-based line of the written file
    int value;         // 1-based value on that line; 0 replaces the whole line
    std::string text;  // written instead, as it stands
};
struct map_style {
    // Text layouts.
    int per_line = 5;          // values per line inside a group (0: a whole group on one line);
                               // node lines always hold one node
    bool crlf = false;         // "\r\n" line ends
    bool tabs = false;         // a tab between values instead of a blank
    bool commas = false;       // ", " between values
    bool d_exponent = false;   // every double in exponent form with the letter D (1.5D+03)
    std::vector<text_poke> pokes;
    // Every layout: the components at these nodes are written as NaN, +Infinity, -Infinity.
    std::vector<node_ref> nan_nodes, inf_nodes, neg_inf_nodes;
    // Binary layout: record (1-based) whose framing lengths are replaced.
    int record = 0;
    std::optional<std::int32_t> lead, trail;
    // Binary layout: record (1-based) whose body gets pad_bytes zero bytes after its values,
    // framed with the longer length (a longer record a reader must accept).
    int pad_record = 0;
    int pad_bytes = 0;
    // Node list: number of node lines written (-1: all).
    long long node_lines = -1;
    // Every layout: the file is cut after this many bytes (-1: not cut).
    long long cut_at = -1;

    // Every layout: a map that contradicts its header (map_defects.h).
    map_defects defects;
};

// As WRITE_FIELD_MAP, with a style; false on an I/O failure, why (when given) saying what failed.
// The file is written whole: on a failure no part of it is left and an old file stays.
bool WRITE_FIELD_MAP(const map_recipe&, layout, const std::string& path, const map_style&, std::string* why = nullptr);

// Offset in bytes of the end of binary record r (1-based) of a clean file, trailing length
// included; 0 for r = 0. Records: 1 header, 2 flags, 3..5 coordinates, then the components.
long long BINARY_RECORD_END(const map_recipe&, int r);
// Number of records in a clean binary file of this kind (8 for kind 0 or 1, 11 for kind 2).
int BINARY_RECORD_COUNT(const map_recipe&);

}  // namespace orvex::mapgen
