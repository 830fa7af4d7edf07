// map_layouts.h: the table of the field-map layouts line 4 of the control file chooses from.
//
// WHAT IT IS
//     format_flag 0  "binary array"  READ_FIELD_ARRAYS(binary)
//     format_flag 1  "text array"    READ_FIELD_ARRAYS(text)
//     format_flag 2  "node list"     READ_FIELD_NODES()
//   One row per layout: its flag, its name and its reader. A new layout is one more row.
//
// HOW TO CALL IT
//   const map_layout* layout = FIND_MAP_LAYOUT(run_settings.format_flag);
//   if (layout == nullptr) STOP_RUN(msg_bad_format);
//   layout->read(FIELD_FILE_NAME(), field_grid);
//
// ASSUMES AND LIMITS
//   The readers are those of field_readers.h, with the same assumptions; the table is constant.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace orvex {

struct field_grid_record;

struct map_layout {
    std::int32_t format_flag = 0;                   // line 4 of the control file
    std::string_view name;                          // "binary array", "text array", "node list"
    // Fills the stored lattice of the record it is handed (the run's field_grid or one of its own).
    void (*read)(std::string_view file_name, field_grid_record& g) = nullptr;
};

// Every layout, in flag order.
std::span<const map_layout> MAP_LAYOUTS();

// The layout of this flag; null when there is none.
const map_layout* FIND_MAP_LAYOUT(std::int32_t format_flag);

}  // namespace orvex
