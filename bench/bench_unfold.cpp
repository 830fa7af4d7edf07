// bench_unfold.cpp: unfolding the largest map (both fields, all three mirrors: 49 x 49 x 401
// nodes, six components, 46 MB written) against a plain copy of the same 46 MB, and the
// sampling of the thirty profiles from it. The unfolding is meant to stay within twice the copy.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstddef>

#include "analytic_field.h"
#include "field/field_grid.h"
#include "field/profiles.h"
#include "field/unfold.h"

namespace {

using namespace orvex;

constexpr std::size_t unfolded_nodes = std::size_t{49} * 49 * 401;
constexpr double unfolded_bytes = 6.0 * unfolded_nodes * sizeof(double);

// Source of the plain copy: six arrays of the unfolded size, in static storage like the grid.
std::array<std::array<double, unfolded_nodes>, 6> copy_source;

// Loads a kind-2 octant map with all mirror flags set, once.
void LOAD_OCTANT_MAP() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    field_grid_record& g = field_grid;
    g.field_kind = 2;
    g.ksym_yz = g.ksym_xz = g.ksym_xy = 1;
    g.ksym = 3;
    g.field_flag = 1;
    for (int i = 1; i <= stored_nx; ++i) g.xmws[i - 1] = 2.0 * (i - 1) / 24.0;
    for (int j = 1; j <= stored_ny; ++j) g.ymws[j - 1] = 2.0 * (j - 1) / 24.0;
    for (int k = 1; k <= stored_nz; ++k) g.zmws[k - 1] = 50.0 * (k - 1) / 200.0;
    const mapgen::field_scale scale{2.0, 2.0, 50.0};
    for (int k = 1; k <= stored_nz; ++k)
        for (int j = 1; j <= stored_ny; ++j)
            for (int i = 1; i <= stored_nx; ++i) {
                const mapgen::field_value f =
                    mapgen::ANALYTIC_FIELD(2, g.xmws[i - 1], g.ymws[j - 1], g.zmws[k - 1], scale);
                const std::size_t s = STORED_INDEX(i, j, k);
                g.ex_in[s] = f.ex;
                g.ey_in[s] = f.ey;
                g.ez_in[s] = f.ez;
                g.bx_in[s] = f.bx;
                g.by_in[s] = f.by;
                g.bz_in[s] = f.bz;
            }
    for (auto& a : copy_source) a.fill(1.25);
    UNFOLD_GRID();  // touch every page of the full arrays before timing
}

void BM_PlainCopy46MB(benchmark::State& state) {
    LOAD_OCTANT_MAP();
    full_map& g = field_grid.full;
    const std::array<full_array*, 6> dst{&g.ex_full, &g.ey_full, &g.ez_full, &g.bx_full, &g.by_full, &g.bz_full};
    for (auto _ : state) {
        for (std::size_t c = 0; c < 6; ++c) std::copy(copy_source[c].begin(), copy_source[c].end(), dst[c]->begin());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * unfolded_bytes));
}
BENCHMARK(BM_PlainCopy46MB)->Unit(benchmark::kMillisecond);

void BM_UnfoldKind2AllMirrors(benchmark::State& state) {
    LOAD_OCTANT_MAP();
    for (auto _ : state) {
        UNFOLD_GRID();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * unfolded_bytes));
}
BENCHMARK(BM_UnfoldKind2AllMirrors)->Unit(benchmark::kMillisecond);

void BM_SampleThirtyProfiles(benchmark::State& state) {
    LOAD_OCTANT_MAP();
    for (auto _ : state) {
        for (int line = 1; line <= line_count; ++line) SAMPLE_LINE(field_grid.full, 1, line);
        benchmark::DoNotOptimize(PROFILE(1, 10, 3).val[200]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SampleThirtyProfiles)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
