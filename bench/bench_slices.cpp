// bench_slices.cpp: the whole map in the window, on the largest map (both fields, all three
// mirrors, 49 x 49 x 401 nodes): the slice window repainted after a change of node, plane or
// quantity, the slice window opened (built, shown and painted once), and the page window
// switched to the other field and back (the page redrawn by the program, the view repainted).
// Targets on the two-core machine: a repaint within 30 ms, opening within 150 ms, a field
// switch within 100 ms. Runs without a screen (the toolkit's offscreen platform).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "offscreen_main.h"
#include "driver/page_run.h"
#include "field/slices.h"
#include "largest_map.h"
#include "page/plot_driver.h"
#include "page/plotted_page.h"
#include "surface/display_list.h"
#include "surface/png_output.h"
#include "surface/surface.h"
#include "window/page_view.h"
#include "window/page_window.h"
#include "window/slice_view.h"
#include "window/slice_window.h"

namespace {

using namespace orvex;

const full_map& LARGEST_GRID() {
    static bool plotted = false;
    if (!plotted) {
        plotted = true;
        bench::LOAD_LARGEST_MAP();
        PLOT_PROFILES(field_grid.full, 0, "MW_map.bin", page_listing::printed);
    }
    return field_grid.full;
}

// The slice window at a laptop's size, with the cut changed by next before each repaint.
template <typename change>
void REPAINT_AFTER(benchmark::State& state, change next) {
    slice_window window(&LARGEST_GRID(), 0, "MW_map.bin", nullptr);
    window.resize(1366, 768);
    window.show();
    slice_view* view = window.VIEW();
    QImage target(view->size(), QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        window.SET_CUT(next(window.CUT(), ++step));
        view->render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
}

void BM_SliceRepaintAfterNodeChange(benchmark::State& state) {
    REPAINT_AFTER(state, [](slice_cut cut, int step) {
        cut.plane = slice_plane::xz;
        cut.node = 1 + step % 49;
        return cut;
    });
}
BENCHMARK(BM_SliceRepaintAfterNodeChange)->Unit(benchmark::kMillisecond);

void BM_SliceRepaintAfterPlaneChange(benchmark::State& state) {
    REPAINT_AFTER(state, [](slice_cut cut, int step) {
        cut.plane = static_cast<slice_plane>(step % 3);
        cut.node = 25;
        return cut;
    });
}
BENCHMARK(BM_SliceRepaintAfterPlaneChange)->Unit(benchmark::kMillisecond);

void BM_SliceRepaintAfterQuantityChange(benchmark::State& state) {
    REPAINT_AFTER(state, [](slice_cut cut, int step) {
        cut.plane = slice_plane::yz;
        cut.quantity = static_cast<slice_quantity>(step % 4);
        return cut;
    });
}
BENCHMARK(BM_SliceRepaintAfterQuantityChange)->Unit(benchmark::kMillisecond);

void BM_OpenSliceWindow(benchmark::State& state) {
    const full_map& g = LARGEST_GRID();
    for (auto _ : state) {
        slice_window window(&g, 0, "MW_map.bin", nullptr);
        window.resize(1366, 768);
        window.show();
        QImage first(window.size(), QImage::Format_RGB32);
        window.render(&first);
        benchmark::DoNotOptimize(first.bits());
    }
}
BENCHMARK(BM_OpenSliceWindow)->Unit(benchmark::kMillisecond);

// Each iteration switches once, alternating: the first switch to the magnetic field also
// unfolds it (then it stays unfolded, as in a run).
void BM_FieldSwitch(benchmark::State& state) {
    LARGEST_GRID();
    static page_content content;
    content.pixels = PAGE_PIXELS();
    content.list = &DISPLAY_LIST();
    content.plotted = &PLOTTED_PAGE();
    content.caption = "ORVEX-3D-Fields";
    content.png_name = "plot_orvex_3dfields.png";
    content.png_texts = PAGE_PNG_TEXTS();
    content.fields = RUN_PAGE_FIELDS(0);
    page_window window(content);
    window.resize(1366, 768);
    window.show();
    QImage target(window.VIEW()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        window.SWITCH_FIELD(1 - window.FIELD_SHOWN());
        window.VIEW()->render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(BM_FieldSwitch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return orvex::bench::RUN_OFFSCREEN_BENCHMARKS(argc, argv); }
