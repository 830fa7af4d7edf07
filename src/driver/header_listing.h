// header_listing.h: the six console records that show what a field file's header held.
#pragma once

namespace orvex {

// Sets field_grid.ksym = ksym_yz + ksym_xz + ksym_xy and prints the six header records.
void LIST_FIELD_HEADER();

}  // namespace orvex
