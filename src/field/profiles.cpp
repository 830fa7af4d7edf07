// STUB
#include "profiles.h"
namespace orvex {
const std::array<profile_line, line_count> profile_lines{};
void COMPUTE_MESH_STEPS() {}
line_indices LINE_INDICES(int) { return {0, 0}; }
void SAMPLE_LINE(int) {}
profile PROFILE(int, int) { return {0, nullptr, nullptr}; }
}  // namespace orvex
