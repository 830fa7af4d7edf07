// map_layouts.cpp: the layouts' table; see map_layouts.h.
#include "fieldio/map_layouts.h"

#include <array>

#include "fieldio/field_readers.h"

namespace orvex {

namespace {

void READ_BINARY_ARRAYS(std::string_view file_name, field_grid_record& g) {
    READ_FIELD_ARRAYS(array_layout::binary, file_name, g);
}
void READ_TEXT_ARRAYS(std::string_view file_name, field_grid_record& g) { READ_FIELD_ARRAYS(array_layout::text, file_name, g); }
void READ_NODE_LIST(std::string_view file_name, field_grid_record& g) { READ_FIELD_NODES(file_name, g); }

constexpr std::array<map_layout, 3> layouts{{
    {0, "binary array", READ_BINARY_ARRAYS},
    {1, "text array", READ_TEXT_ARRAYS},
    {2, "node list", READ_NODE_LIST},
}};

}  // namespace

std::span<const map_layout> MAP_LAYOUTS() { return layouts; }

const map_layout* FIND_MAP_LAYOUT(std::int32_t format_flag) {
    for (const map_layout& layout : layouts)
        if (layout.format_flag == format_flag) return &layout;
    return nullptr;
}

}  // namespace orvex
