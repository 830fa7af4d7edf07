// bench_window.cpp: what the window does for the user, on the page of the largest map (both
// fields, all three mirrors): handling one pointer move over a panel (finding the node, its
// status line, the marker), and writing the page as SVG and as PDF. Targets on the two-core
// machine: a pointer move within 1 ms, each vector page within 200 ms. Runs without a screen
// (the toolkit's offscreen platform).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QStatusBar>

#include <cstdio>
#include <cstdlib>

#include "offscreen_main.h"
#include "console/console.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "largest_map.h"
#include "surface/display_list.h"
#include "page/page_readout.h"
#include "page/plot_driver.h"
#include "page/plotted_page.h"
#include "surface/png_output.h"
#include "surface/surface.h"
#include "window/page_view.h"
#include "window/page_window.h"
#include "window/shown_page.h"
#include "window/vector_page.h"

namespace {

using namespace orvex;

page_content& PLOTTED_CONTENT() {
    static page_content content;
    static bool plotted = false;
    if (plotted) return content;
    plotted = true;
    bench::LOAD_LARGEST_MAP();
    PLOT_PROFILES(field_grid.full, 0, "MW_map.bin", page_listing::printed);
    content.pixels = PAGE_PIXELS();
    content.list = &DISPLAY_LIST();
    content.plotted = &PLOTTED_PAGE();
    content.caption = "ORVEX-3D-Fields";
    content.console_text = CONSOLE_LOG();
    content.png_name = "plot_orvex_3dfields.png";
    content.png_texts = PAGE_PNG_TEXTS();
    return content;
}

// One pointer move onto another node of panel 9 (Ez along the z axis, 401 nodes): the view
// finds the node, sets the status line and asks for the marker's repaint.
void BM_PointerMoveOverAPanel(benchmark::State& state) {
    page_window window(PLOTTED_CONTENT());
    window.resize(1500, 960);
    window.show();
    page_view* view = window.VIEW();
    const plotted_panel& p = PLOTTED_PAGE().panels[8];
    int node = 1;
    for (auto _ : state) {
        node = node % p.n + 1;
        const double across = p.frame.ix1 + (p.pos[node - 1] - p.scale.x_lo) / (p.scale.x_hi - p.scale.x_lo) *
                                                (p.frame.ix2 - p.frame.ix1);
        const QPointF at = view->WIDGET_POINT(QPointF(across, (p.frame.iy1 + p.frame.iy2) / 2.0));
        QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        benchmark::DoNotOptimize(window.statusBar()->currentMessage());
    }
}
BENCHMARK(BM_PointerMoveOverAPanel)->Unit(benchmark::kMicrosecond);

// Painting the whole view once, fit to a laptop-sized window (the page replayed as vectors).
void BM_PaintFitView(benchmark::State& state) {
    page_window window(PLOTTED_CONTENT());
    window.resize(1366, 768);
    window.show();
    QImage target(window.VIEW()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        window.VIEW()->render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(BM_PaintFitView)->Unit(benchmark::kMillisecond);

// Drawing the page once (a fit view's first paint, a resize) at 80 %: on the screen's own
// pixels with texts at their shown size, against the vector replay scaled down.
void BM_DrawPageAt80Percent(benchmark::State& state) {
    const page_content& content = PLOTTED_CONTENT();
    page_window window(content);
    const QImage& raster = window.VIEW()->PAGE_IMAGE();
    QImage target(1024, 640, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        if (state.range(0) == 1) {
            PAINT_PAGE_SHOWN(painter, *content.list, raster, 0.8);
        } else {
            painter.scale(0.8, 0.8);
            painter.translate(-0.5, -0.5);
            PAINT_PAGE_VECTORS(painter, *content.list, raster);
        }
        painter.end();
        benchmark::DoNotOptimize(target.bits());
    }
    state.SetLabel(state.range(0) == 1 ? "shown-size texts on screen pixels" : "vector replay scaled");
}
BENCHMARK(BM_DrawPageAt80Percent)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_PageAsSvg(benchmark::State& state) {
    const page_content& content = PLOTTED_CONTENT();
    page_window window(content);
    const QImage& raster = window.VIEW()->PAGE_IMAGE();
    for (auto _ : state) benchmark::DoNotOptimize(PAGE_AS_SVG(*content.list, raster, QStringLiteral("page")).size());
}
BENCHMARK(BM_PageAsSvg)->Unit(benchmark::kMillisecond);

void BM_PageAsPdf(benchmark::State& state) {
    const page_content& content = PLOTTED_CONTENT();
    page_window window(content);
    const QImage& raster = window.VIEW()->PAGE_IMAGE();
    for (auto _ : state) benchmark::DoNotOptimize(PAGE_AS_PDF(*content.list, raster, QStringLiteral("page")).size());
}
BENCHMARK(BM_PageAsPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return orvex::bench::RUN_OFFSCREEN_BENCHMARKS(argc, argv); }
