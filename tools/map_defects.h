// map_defects.h: maps that contradict their own header, for the tests of the map checks.
//
// WHAT IT IS
//   A defect changes only what is written; the field is still computed on the clean lattice
//   that the map_recipe places, so each defect shows alone:
//     coordinates  a coordinate of an array layout written as a given value (uneven spacing,
//                  coordinates out of order, NaN or infinite coordinates);
//     shift        every coordinate of an axis written a given distance further (in the node
//                  list, its range): a mirrored axis that does not start at 0;
//     plane_leak   a fraction of a component's largest absolute value (over the clean stored
//                  lattice) added at every stored node that lies on a mirror plane (node 1 of
//                  a mirrored axis): an odd component that does not vanish there;
//     zero         a component written as 0 everywhere (a map of both fields without B);
//     negate       a component written with its sign wrong everywhere (a map whose
//                  divergence no longer vanishes);
//     values       one component of one node written as a given value (NaN, infinities),
//                  applied last.
//   Defects touch only the components the map's kind carries.
//
// HOW TO CALL IT
//   map_style st; st.defects.shift[1] = 0.05; WRITE_FIELD_MAP(recipe, layout::text, path, st);
//   FILL_STORED(recipe, target, defects);            // straight into stored arrays, for tests
//   READ_DEFECT_OPTION("--leak", "ex,0.086", defects)  // the map writer's options
//
// ASSUMES AND LIMITS
//   Axes are 0 x, 1 y, 2 z; components 0..5 are Ex, Ey, Ez, Bx, By, Bz; nodes are 1-based.
//   The writer resolves the leaks (RESOLVE_DEFECTS) once before it writes.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analytic_field.h"

namespace orvex::mapgen {

struct map_recipe;
struct stored_target;

struct coordinate_defect {
    int axis;
    int node;
    double value;
};
struct value_defect {
    std::size_t component;
    int i, j, k;
    double value;
};

struct map_defects {
    std::vector<coordinate_defect> coordinates;
    std::array<double, 3> shift{};       // cm, per axis
    std::array<double, 6> plane_leak{};  // fraction of the component's largest |value|
    std::array<bool, 6> zero{};
    std::array<bool, 6> negate{};
    std::vector<value_defect> values;
    std::array<double, 6> leak_amount{};  // set by RESOLVE_DEFECTS: what plane_leak adds
};

// Whether any defect changes the written field values.
bool HAS_VALUE_DEFECTS(const map_defects&);

// The coordinate written for node n of an axis: the clean one of the map_recipe, or the defect's.
double WRITTEN_COORDINATE(const map_recipe&, const map_defects&, int axis, int n);

// Sets leak_amount from the largest absolute value of each component on the clean lattice.
void RESOLVE_DEFECTS(const map_recipe&, map_defects&);

// Applies zero, negate, the resolved leaks and the value defects to the field f of stored node (i, j, k).
void APPLY_VALUE_DEFECTS(const map_recipe&, const map_defects&, int i, int j, int k, field_value& f);

// As FILL_STORED of map_writer.h, with the defects applied (leaks resolved here).
void FILL_STORED(const map_recipe&, const stored_target&, const map_defects&);

// The map writer's defect options, each with its value:
//   --coord AXIS,NODE,VALUE   (x,7,-0.95; VALUE may be nan, inf or -inf)
//   --shift AXIS,CM           (y,0.05)
//   --leak C,FRACTION         (ex,0.086; C a component ex..bz, or e, b or all)
//   --zero C                  (b)
//   --negate C                (bx)
//   --value C,I,J,K,VALUE     (ey,6,7,8,nan)
bool IS_DEFECT_OPTION(std::string_view option);
// Adds the option's defect; returns what is wrong with the value, or "" when it is taken.
std::string READ_DEFECT_OPTION(std::string_view option, std::string_view value, map_defects&);

}  // namespace orvex::mapgen
