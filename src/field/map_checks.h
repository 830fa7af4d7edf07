// map_checks.h: notes on a loaded map that cannot be what its header claims.
//
// WHAT IT IS
//   The page rests on assumptions the map itself can contradict: the full grid places the
//   nodes evenly between the first and the last stored coordinate of an axis; a mirrored axis
//   starts on its mirror plane (coordinate 0); a component that is odd under a mirror vanishes
//   on that plane (field/field_table.h says which); every value is a number; the field that
//   line 5 chooses is in the map. CHECK_MAP reads the stored lattice of field_grid once and
//   keeps one note, in words, for each of these the map breaks, in this order:
//     the map carries only the electric field (kind 0) but line 5 asks for the magnetic field;
//         every plot shows zeros                              (or kind 1 and the electric field)
//     Bx, By and Bz are zero everywhere in this map; line 5 asks for the magnetic field
//   then for each axis x, y, z:
//     1 x coordinate is not a number (node 7)
//     2 z coordinates are infinite (first at node 3)
//     the y coordinates are not ascending (node 7 at 0.25 cm is not above node 6 at 0.5 cm)
//     the x coordinates are not evenly spaced (node 7 lies 0.3 steps from its place); the
//         page places the nodes evenly from -1.8 to 1.8 cm
//     y is mirrored (ksym_xz = 1) but its first coordinate is 0.05 cm, not 0
//   then for each component the map carries, Ex to Bz:
//     1 value of Ey is not a number (node 6, 7, 8)
//     3 values of Bz are infinite (first at node 1, 2, 3)
//   then for each component and each mirrored axis in which it is odd:
//     Ex is not zero on the mirror plane x = 0 (up to 8.6% of its largest value); check
//         ksym_yz, the field kind and line 5
//   Nodes are 1-based (i, j, k); "first" is the first in array order (i fastest). Offsets in
//   steps and percentages have 2 significant digits, coordinates are the shortest text that
//   reads back, in cm. The notes change nothing: the listing, the grid and the page stay as
//   they are.
//
// HOW TO CALL IT
//   CHECK_MAP();                                   // after the header listing, before unfolding
//   for (std::string_view note : MAP_NOTES()) ...  // print "plot_orvex_3dfields: note: " + note
//   CHECK_MAP_NOTES(other) gives the notes of another record (the other map of a comparison)
//   without touching the run's; the caller says which map they are about.
//
// ASSUMES AND LIMITS
//   Reads only the flags, field_kind, field_flag, the coordinates and the six stored arrays.
//   A map whose field_kind is outside 0..2 or whose flag is not 0 or 1 gets no notes: the run
//   refuses it. Tolerances are relative and generous, so maps written in single precision or
//   by another code raise nothing false: a coordinate is in place within 1e-6 of a step or
//   1e-5 of the axis's largest absolute coordinate (the rounding of six significant digits),
//   whichever is larger, and the same bound says whether a mirrored axis starts at 0; an odd
//   component vanishes on a plane when it stays within 1e-6 of its largest finite absolute
//   value over the stored lattice. A component that is zero
//   everywhere raises nothing on the planes. An axis whose coordinates are not all finite is
//   not checked for order or spacing, an axis that is not ascending not for spacing, and the
//   plane of a mirrored axis that does not start at 0 not for odd components (the stronger
//   note says it all).
//   The notes live in a fixed record of map_note_capacity texts of at most map_note_length
//   characters, valid until the next CHECK_MAP (for a run, the whole run); at most 31 notes
//   can arise here and two of the divergence (one a field), and a comparison adds those of the
//   other map (31 and two) and two of its own, so none is dropped, and none comes near the
//   length (a longer one would be cut).
//   CHECK_MAP allocates nothing; one thread at a time raises notes (CHECK_MAP_NOTES writes a
//   record of its own, on the heap, and may run beside a run that reads MAP_NOTES).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

struct field_grid_record;

inline constexpr std::size_t map_note_capacity = 72;
inline constexpr std::size_t map_note_length = 240;

// Checks the stored lattice of field_grid and keeps its notes (replacing any earlier ones).
void CHECK_MAP();
// The same checks of another record; its notes, in order, without the program's prefix.
std::vector<std::string> CHECK_MAP_NOTES(const field_grid_record& g);

// The notes of the last CHECK_MAP, in order, without the program's prefix; empty before it.
// Notes of later checks (the divergence, on the full grid) follow, added by ADD_MAP_NOTE.
std::span<const std::string_view> MAP_NOTES();

// The notes CHECK_MAP raised on the stored lattice alone (the first of MAP_NOTES): what the
// window's figures add their own notes to.
std::span<const std::string_view> MAP_CHECK_NOTES();

// Adds a note after those of CHECK_MAP (cut to map_note_length; dropped when the record is full).
void ADD_MAP_NOTE(std::string_view note);

}  // namespace orvex
