// bench_checks.cpp: the map checks on the largest map (both fields, all three mirrors: six
// stored arrays of 125,625 values, 6 MB read), clean, and with a NaN in every component (each
// then read a second time to count and place them). The checks are meant to stay within 2 ms.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <limits>

#include "field/field_grid.h"
#include "field/map_checks.h"
#include "map_writer.h"

namespace {

using namespace orvex;

void LOAD_LARGEST_MAP(bool with_nan) {
    RESET_FIELD_GRID();
    mapgen::map_recipe m;
    m.kind = 2;
    m.ksym_yz = m.ksym_xz = m.ksym_xy = 1;
    field_grid_record& g = field_grid;
    g.field_kind = 2;
    g.ksym_yz = g.ksym_xz = g.ksym_xy = 1;
    g.ksym = 3;
    g.field_flag = 1;
    mapgen::map_defects d;
    if (with_nan)
        for (std::size_t c = 0; c < 6; ++c) d.values.push_back({c, 7, 8, 9, std::numeric_limits<double>::quiet_NaN()});
    mapgen::FILL_STORED(m,
                        {g.xmws.data(), g.ymws.data(), g.zmws.data(), g.ex_in.data(), g.ey_in.data(), g.ez_in.data(),
                         g.bx_in.data(), g.by_in.data(), g.bz_in.data()},
                        d);
}

void BM_CheckMap(benchmark::State& state) {
    const bool with_nan = state.range(0) != 0;
    LOAD_LARGEST_MAP(with_nan);
    for (auto _ : state) {
        CHECK_MAP();
        benchmark::DoNotOptimize(MAP_NOTES().size());
    }
    state.SetLabel(with_nan ? "a NaN in every component (6 notes)" : "clean (no note)");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 6.0 * stored_nodes * sizeof(double)));
}
BENCHMARK(BM_CheckMap)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
