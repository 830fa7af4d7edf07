// bench_compare.cpp: two of the largest maps compared (both fields, all three mirrors: 49 x 49
// x 401 nodes each), once read and unfolded: the pairing, the differences of all six
// components, every figure of both maps and the JSON document, as --compare makes them.
// Target: at most 0.3 s, for grids that coincide (the other read at its node values) and for
// grids that do not (the cubic rule at every node).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "field/compare_json.h"
#include "field/figures.h"
#include "largest_map.h"

namespace {

using namespace orvex;

// The other map in a heap record of its own: the same recipe, over the region given.
field_grid_record& OTHER_MAP(double x_hi, double z_hi) {
    static std::vector<std::unique_ptr<field_grid_record>> kept;
    mapgen::map_recipe recipe;
    recipe.kind = 2;
    recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
    recipe.n_cell = 3;
    recipe.x_hi = recipe.y_hi = x_hi;
    recipe.z_hi = z_hi;
    field_grid_record& g = *kept.emplace_back(std::make_unique<field_grid_record>());
    mapgen::FILL_STORED(recipe, {g.xmws.data(), g.ymws.data(), g.zmws.data(), g.ex_in.data(), g.ey_in.data(),
                                 g.ez_in.data(), g.bx_in.data(), g.by_in.data(), g.bz_in.data()});
    g.field_kind = 2;
    g.ksym_yz = g.ksym_xz = g.ksym_xy = 1;
    g.ksym = 3;
    UNFOLD_GRID(g, fields_unfolded::now);
    return g;
}

void COMPARE(benchmark::State& state, const full_map& other) {
    const full_map& mine = field_grid.full;
    for (auto _ : state) {
        map_pairing p;
        PAIR_MAPS(mine, other, p);
        const std::vector<field_difference> fields{COMPARE_FIELD(p, 0), COMPARE_FIELD(p, 1)};
        const map_figures a = MAP_FIGURES(mine, {}, 0), b = MAP_FIGURES(other, {}, 0);
        const std::string text = COMPARISON_JSON({"bench", "this", "other", "dir", &p, fields, a.fields, b.fields, {}});
        benchmark::DoNotOptimize(text.data());
    }
    state.SetLabel("target <= 300 ms");
}

void BM_CompareCoincidingGrids(benchmark::State& state) {
    bench::LOAD_LARGEST_MAP();
    static const field_grid_record& other = OTHER_MAP(2.0, 50.0);
    COMPARE(state, other.full);
}
BENCHMARK(BM_CompareCoincidingGrids)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CompareCubicAtEveryNode(benchmark::State& state) {
    bench::LOAD_LARGEST_MAP();
    static const field_grid_record& other = OTHER_MAP(2.1, 51.0);
    COMPARE(state, other.full);
}
BENCHMARK(BM_CompareCubicAtEveryNode)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
