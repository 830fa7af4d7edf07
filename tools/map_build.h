// map_build.h: what the writer's three layouts share while a map file's bytes are built in
// memory (map_writer.cpp, map_binary.cpp, map_text.cpp); not for callers of the writer.
//
// WHAT IT IS
//   The stored lattice's counts, the lower limits of the axes, the components a kind carries in
//   file order, the field at a node with the style's damage applied, and the three builders
//   that append a whole file of one layout to a string.
//
// HOW TO CALL IT
//   std::string bytes; BUILD_BINARY(recipe, style, bytes);
//
// ASSUMES AND LIMITS
//   The style's defects are resolved (RESOLVE_DEFECTS) before a builder runs.
#pragma once

#include <array>
#include <string>

#include "field/field_grid.h"
#include "map_writer.h"

namespace orvex::mapgen {

// The stored lattice is field_grid's (field/field_grid.h).
inline constexpr int lattice_nx = stored_nx, lattice_ny = stored_ny, lattice_nz = stored_nz;
inline constexpr long long lattice_nodes = static_cast<long long>(stored_nodes);

// "1..25, 1..25, 1..201": the stored nodes' indices, for what an option refuses.
std::string LATTICE_RANGES();

// Lower limit of each axis: as the recipe gives it, or 0 on a mirrored axis (flag 1), -hi otherwise.
double X_LO(const map_recipe& s);
double Y_LO(const map_recipe& s);
double Z_LO(const map_recipe& s);

// The component arrays a kind carries, in file order: 0..2 Ex Ey Ez, 3..5 Bx By Bz.
struct component_list {
    std::array<int, 6> index{};
    int count = 0;
};
component_list COMPONENTS_OF(int kind);

// Field at stored node (i, j, k): the recipe's lattice when it has one, else its model.
field_value CLEAN_NODE_FIELD(const map_recipe& s, int i, int j, int k);

// Field at stored node (i, j, k), with the style's non-finite nodes and value defects applied.
field_value NODE_FIELD(const map_recipe& s, const map_style& st, int i, int j, int k);

// Whether the style changes any written value (so every node goes through NODE_FIELD).
bool NODE_HAS_NONFINITE(const map_style& st);

// Each appends the whole file of its layout to out.
void BUILD_BINARY(const map_recipe& s, const map_style& st, std::string& out);
void BUILD_TEXT_ARRAYS(const map_recipe& s, const map_style& st, std::string& out);
void BUILD_NODE_LIST(const map_recipe& s, const map_style& st, std::string& out);

}  // namespace orvex::mapgen
