// STUB
#include "field_readers.h"
namespace orvex {
void READ_FIELD_ARRAYS(array_layout, std::string_view) {}
void READ_FIELD_NODES(std::string_view) {}
}  // namespace orvex
