// import_resample.cpp: Lagrange interpolation of degree 1 or 3 along one axis of a block of values.
#include "fieldio/import_resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace orvex::mapimport {

namespace {

// The source nodes and weights one target takes: value = sum of weight[n] * source[start + n].
struct stencil {
    int start = 0;
    int size = 0;
    std::array<double, 4> weight{};
};

stencil STENCIL(double u, int from, resampling how) {
    stencil s;
    s.size = how == resampling::cubic ? 4 : 2;
    const int below = static_cast<int>(std::floor(u));
    s.start = std::clamp(how == resampling::cubic ? below - 1 : below, 0, from - s.size);
    // Lagrange weights at u over the nodes start .. start + size - 1 (positions in steps).
    for (int a = 0; a < s.size; ++a) {
        double w = 1.0;
        for (int b = 0; b < s.size; ++b)
            if (b != a) w *= (u - (s.start + b)) / static_cast<double>(a - b);
        s.weight[static_cast<std::size_t>(a)] = w;
    }
    return s;
}

}  // namespace

std::vector<double> RESAMPLE_AXIS(const std::vector<double>& values, const std::array<int, 3>& counts, int axis,
                                  const axis_grid& source, int to, double target_first, double target_last,
                                  resampling how) {
    const int from = counts[static_cast<std::size_t>(axis)];
    std::vector<stencil> stencils(static_cast<std::size_t>(to));
    for (int t = 0; t < to; ++t) {
        const double position = to > 1 ? target_first + t * ((target_last - target_first) / (to - 1)) : target_first;
        stencils[static_cast<std::size_t>(t)] = STENCIL((position - source.first) / source.step, from, how);
    }
    // Strides of the axis in the source and target blocks (x fastest).
    const std::size_t inner = axis == 0 ? 1 : axis == 1 ? static_cast<std::size_t>(counts[0])
                                                        : static_cast<std::size_t>(counts[0]) * static_cast<std::size_t>(counts[1]);
    std::size_t outer = 1;
    for (int a = axis + 1; a < 3; ++a) outer *= static_cast<std::size_t>(counts[static_cast<std::size_t>(a)]);
    std::vector<double> out(inner * static_cast<std::size_t>(to) * outer);
    for (std::size_t o = 0; o < outer; ++o)
        for (int t = 0; t < to; ++t) {
            const stencil& s = stencils[static_cast<std::size_t>(t)];
            double* target = out.data() + (o * static_cast<std::size_t>(to) + static_cast<std::size_t>(t)) * inner;
            std::fill(target, target + inner, 0.0);
            for (int n = 0; n < s.size; ++n) {
                const double* src = values.data() + (o * static_cast<std::size_t>(from) + static_cast<std::size_t>(s.start + n)) * inner;
                const double w = s.weight[static_cast<std::size_t>(n)];
                for (std::size_t i = 0; i < inner; ++i) target[i] += w * src[i];
            }
        }
    return out;
}

}  // namespace orvex::mapimport
