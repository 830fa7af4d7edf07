// header_listing.h: the six console records that show what a field file's header held.
//
// WHAT IT IS
//   d_elm, aper and n_cell; the three mirror flags; the first and last stored coordinate of
//   each axis; and ksym, the plain sum of the flags, which LIST_FIELD_HEADER sets.
//
// HOW TO CALL IT
//   After the reader, before UNFOLD_GRID: LIST_FIELD_HEADER();
//
// ASSUMES AND LIMITS
//   Reads only the stored lattice's header values; writes only ksym. Flags are summed in 64
//   bits and the sum held at the 32-bit limits, so absurd flags give an absurd ksym, never one
//   that wrapped round to 0..3.
#pragma once

namespace orvex {

struct field_grid_record;

// Sets field_grid.ksym = ksym_yz + ksym_xz + ksym_xy and prints the six header records.
void LIST_FIELD_HEADER();
// Sets g.ksym alone, listing nothing (the other map of a comparison).
void SET_KSYM(field_grid_record& g);

}  // namespace orvex
