// bench_page.cpp: drawing the whole page of the largest map (both fields, all three mirrors:
// thirty profiles of 49 or 401 points), from INI_GRAPH to the legend, and writing it as a PNG.
// Targets on the two-core machine: the page within 10 ms, the PNG within 30 ms.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>

#include "console/console.h"
#include "field/field_grid.h"
#include "largest_map.h"
#include "page/page.h"
#include "page/plot_driver.h"
#include "surface/png_output.h"
#include "show/show_page.h"
#include "surface/surface.h"
#include "field/unfold.h"

namespace {

using namespace orvex;

using bench::LOAD_LARGEST_MAP;

// One whole page: grid records, INI_GRAPH, ten lines of three profiles, the legend.
void DRAW_PAGE() {
    CLEAR_CONSOLE_LOG();
    PLOT_PROFILES(field_grid.full, 0, {}, page_listing::printed);
}

void BM_DrawWholePage(benchmark::State& state) {
    LOAD_LARGEST_MAP();
    for (auto _ : state) {
        DRAW_PAGE();
        benchmark::DoNotOptimize(PAGE_PIXELS().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawWholePage)->Unit(benchmark::kMillisecond);

void BM_WritePagePng(benchmark::State& state) {
    LOAD_LARGEST_MAP();
    DRAW_PAGE();
    const std::string path = "/tmp/orvex_bench_page_" + std::to_string(getpid()) + ".png";
    for (auto _ : state) {
        if (!WRITE_PAGE_PNG(path)) {
            state.SkipWithError("the PNG could not be written");
            break;
        }
    }
    unlink(path.c_str());
}
BENCHMARK(BM_WritePagePng)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
