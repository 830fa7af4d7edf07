// neighbour_rule.h: the nodes that the checks of a field's derivatives (the divergence figure,
// the curl check) judge, and those they leave out.
//
// WHAT IT IS
//   A node holds no field when its three components are all exactly 0: inside an electrode or
//   outside the solved region, where a difference across it measures the solver's boundary, not
//   the field. An interior node (2 .. count - 1 on every axis) is judged when none of its six
//   neighbours holds no field; a check leaves out, besides, the nodes whose own terms are not
//   finite. ZERO_NODE and JUDGED_NODE state the rule node by node. zero_planes keeps the marks of
//   five planes of z (two on each side, for checks that reach two nodes away) for a pass over the
//   grid in memory order, each plane marked once while its values are still in the cache.
//
// HOW TO CALL IT
//   const component_triple f = FIELD_TRIPLE(map, field);
//   if (JUDGED_NODE(map, f, i, j, k)) ...                        // one node
//   zero_planes planes(f, map.nx, map.ny, map.nz);               // a pass, k = 2 .. nz - 1 in order
//   zero_planes part(f, map.nx, map.ny, map.nz, 100);            // or from k = 100 on
//   for (int k = 2; k < map.nz; ++k) { planes.ENTER(k); ... if (planes.JUDGED(i, j)) ... }
//
// ASSUMES AND LIMITS
//   Indices are 1-based full-grid nodes inside the map's counts (full_map.h); a zero_planes pass
//   enters k = first_k, first_k + 1, ... in turn. Reads only the arrays it is handed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "field/full_map.h"

namespace orvex {

// True when the field of the triple is exactly 0 in all three components at offset at.
inline bool ZERO_NODE(const component_triple& f, std::size_t at) {
    return (*f[0])[at] == 0.0 && (*f[1])[at] == 0.0 && (*f[2])[at] == 0.0;
}

// True when (i, j, k) is an interior node of the map none of whose six neighbours holds no field.
inline bool JUDGED_NODE(const full_map& m, const component_triple& f, int i, int j, int k) {
    if (i < 2 || j < 2 || k < 2 || i >= m.nx || j >= m.ny || k >= m.nz) return false;
    return !ZERO_NODE(f, FULL_INDEX(i - 1, j, k)) && !ZERO_NODE(f, FULL_INDEX(i + 1, j, k)) &&
           !ZERO_NODE(f, FULL_INDEX(i, j - 1, k)) && !ZERO_NODE(f, FULL_INDEX(i, j + 1, k)) &&
           !ZERO_NODE(f, FULL_INDEX(i, j, k - 1)) && !ZERO_NODE(f, FULL_INDEX(i, j, k + 1));
}

// The marks of the planes k - 2 .. k + 2 during a pass over z (those beyond the grid read as
// holding no field).
class zero_planes {
public:
    // A pass that enters first_k (2 .. nz - 1) first, then first_k + 1, ...
    zero_planes(const component_triple& f, int nx, int ny, int nz, int first_k = 2) : field(f), nx(nx), ny(ny), nz(nz) {
        for (int k = first_k - 2; k <= first_k + 1; ++k) {
            plane_mask& mask = marks[static_cast<std::size_t>(k % 5)];
            if (k >= 1 && k <= nz) MARK(k, mask);
            else BEYOND(mask);
        }
        entered = first_k;
    }
    // Moves the pass to plane k (first_k .. nz - 1, in turn): marks plane k + 2.
    void ENTER(int k) {
        entered = k;
        plane_mask& ahead = marks[static_cast<std::size_t>((k + 2) % 5)];
        if (k + 2 <= nz) MARK(k + 2, ahead);
        else BEYOND(ahead);
    }
    // Node (i, j) of the plane entered, an interior node in x and y: the rule above.
    bool JUDGED(int i, int j) const {
        const std::size_t p = PLACE(i, j);
        const plane_mask& here = PLANE(0);
        return !(here[p - 1] | here[p + 1] | here[p - full_capacity_x] | here[p + full_capacity_x] | PLANE(-1)[p] |
                 PLANE(1)[p]);
    }
    // Whether node (i, j) of plane k + dk (dk in -2 .. 2) holds a field; false beyond the grid in
    // z (in x and y the caller keeps to the grid).
    bool HOLDS(int i, int j, int dk) const { return PLANE(dk)[PLACE(i, j)] == 0; }
    // Whether every node of the rows j - 2 .. j + 2 of the planes k - 2 .. k + 2 is in the grid
    // and holds a field.
    bool CLEAR_AROUND(int j) const {
        if (j < 3 || j + 2 > ny) return false;
        bool zero = false;
        for (int dk = -2; dk <= 2; ++dk)
            for (int dj = -2; dj <= 2; ++dj) zero |= rows[static_cast<std::size_t>((entered + dk) % 5)][static_cast<std::size_t>(j + dj)] != 0;
        return !zero;
    }

private:
    static constexpr std::size_t plane_size = std::size_t{full_capacity_x} * full_capacity_y;
    using plane_mask = std::array<std::uint8_t, plane_size>;
    static std::size_t PLACE(int i, int j) {
        return static_cast<std::size_t>(j - 1) * full_capacity_x + static_cast<std::size_t>(i - 1);
    }
    const plane_mask& PLANE(int dk) const { return marks[static_cast<std::size_t>((entered + dk) % 5)]; }
    // Marks plane k into mask (one of marks) and its rows with a node of no field.
    void MARK(int k, plane_mask& mask) {
        const std::size_t base = FULL_INDEX(1, 1, k);
        row_marks& row = rows[static_cast<std::size_t>(&mask - marks.data())];
        for (int j = 1; j <= ny; ++j) {
            std::uint8_t any = 0;
            for (int i = 1; i <= nx; ++i) any |= mask[PLACE(i, j)] = ZERO_NODE(field, base + PLACE(i, j));
            row[static_cast<std::size_t>(j)] = any;
        }
    }
    // A plane beyond the grid: every node as holding no field.
    void BEYOND(plane_mask& mask) {
        mask.fill(1);
        rows[static_cast<std::size_t>(&mask - marks.data())].fill(1);
    }
    component_triple field;
    int nx, ny, nz;
    int entered = 2;
    using row_marks = std::array<std::uint8_t, full_capacity_y + 1>;  // by j, 1-based
    std::array<plane_mask, 5> marks{};  // plane k in marks[k % 5]
    std::array<row_marks, 5> rows{};    // whether row j of that plane has a node of no field
};

}  // namespace orvex
