// profile_lines.cpp: the ten fixed lines through the full map: their labels and titles, and the
// node-index rules that place them. Every line position is a node index from integer
// arithmetic on the counts. Kept apart from the profile store (profiles.cpp), so that code that
// only places lines (the figures, the window) holds no record of the run.
#include <cstdint>

#include "field/profiles.h"

namespace orvex {

const std::array<profile_line, line_count> profile_lines{{
    {line_axis::x, " Y=0 and Z=0: j, k = ", "X (cm), Y=Z=0"},
    {line_axis::y, " X=0 and Z=0: i, k = ", "Y (cm), X=Z=0"},
    {line_axis::z, " X=0 and Y=0: i, j = ", "Z (cm), X=Y=0"},
    {line_axis::z, " X=0 and Y=m: i, j = ", "Z (cm), X=0,Y=M"},
    {line_axis::z, " X=m and Y=0: i, j = ", "Z (cm), X=M,Y=0"},
    {line_axis::z, " X=q and Y=m: i, j = ", "Z (cm), X=Q,Y=M"},
    {line_axis::z, " X=m and Y=q: i, j = ", "Z (cm), X=M,Y=Q"},
    {line_axis::z, " X=m and Y=m: i, j = ", "Z (cm), X=M,Y=M"},
    {line_axis::z, " X=u and Y=u: i, j = ", "Z (cm), X=U,Y=U"},
    {line_axis::z, " X=l and Y=l: i, j = ", "Z (cm), X=L,Y=L"},
}};

namespace {

// Index rules on a count n (integer division, product first).
constexpr std::int32_t CENTRE(std::int32_t n) { return n / 2 + 1; }
constexpr std::int32_t M_NODE(std::int32_t n) { return 3 * n / 4 + 1; }
constexpr std::int32_t Q_NODE(std::int32_t n) { return 5 * n / 8 + 2; }
// U and L use the single-precision factors 1 +- 1/sqrt(2) and divisor, truncated toward zero.
std::int32_t U_NODE(std::int32_t n) {
    return static_cast<std::int32_t>(static_cast<float>(n) * 1.7071068f / 2.0f);
}
std::int32_t L_NODE(std::int32_t n) {
    return static_cast<std::int32_t>(static_cast<float>(n) * 0.29289323f / 2.0f);
}

}  // namespace

// Fixed indices of line 1..10 from the counts; {0, 0} for any other line number.
line_indices LINE_INDICES(const full_map& m, int line) {
    switch (line) {
        case 1: return {CENTRE(m.ny), CENTRE(m.nz)};
        case 2: return {CENTRE(m.nx), CENTRE(m.nz)};
        case 3: return {CENTRE(m.nx), CENTRE(m.ny)};
        case 4: return {CENTRE(m.nx), M_NODE(m.ny)};
        case 5: return {M_NODE(m.nx), CENTRE(m.ny)};
        case 6: return {Q_NODE(m.nx), M_NODE(m.ny)};
        case 7: return {M_NODE(m.nx), Q_NODE(m.ny)};
        case 8: return {M_NODE(m.nx), M_NODE(m.ny)};
        case 9: return {U_NODE(m.nx), U_NODE(m.ny)};
        case 10: return {L_NODE(m.nx), L_NODE(m.ny)};
        default: return {0, 0};
    }
}

grid_node LINE_NODE(const full_map& m, int line) {
    const line_indices fixed = LINE_INDICES(m, line);
    if (line == 1) return {1, fixed.first, fixed.second};
    if (line == 2) return {fixed.first, 1, fixed.second};
    return {fixed.first, fixed.second, 1};
}

}  // namespace orvex
