// compare_window_test.cpp: File > Compare With in a real window system: the other map read by
// the program's own loader while the page stays; the slice window's difference quantities (the
// node changed in the other map, and nothing else, off the diverging map's centre), a detail
// window with the other's profile over this map's and both files in its legend; the other's
// notes in the strip; a directory without a map refused with the comparison kept.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <cmath>
#include <fstream>
#include <limits>

#include "console/console.h"
#include "driver/page_run.h"
#include "field/analytic_grid.h"
#include "field/compare.h"
#include "field/unfold.h"
#include "page/plot_driver.h"
#include "page/plotted_page.h"
#include "surface/colour_maps.h"
#include "surface/display_list.h"
#include "surface/png_output.h"
#include "surface/surface.h"
#include "window/page_view.h"
#include "window/page_window.h"
#include "window/slice_view.h"
#include "window/slice_window.h"

using namespace orvex;

namespace {

// Both fields, no mirror: full node (i, j, k) is stored node (i, j, k).
mapgen::map_recipe RECIPE() {
    mapgen::map_recipe m;
    m.kind = 2;
    return m;
}

// The other map: the same map written exactly (binary), one value of a stored node replaced.
QString WRITE_OTHER(const QTemporaryDir& dir, const QString& sub, std::size_t component, grid_node n, double value) {
    QDir(dir.path()).mkpath(sub);
    const std::string where = dir.filePath(sub).toStdString();
    mapgen::map_style style;
    style.defects.values.push_back({component, n.i, n.j, n.k, value});
    if (!mapgen::WRITE_FIELD_MAP(RECIPE(), mapgen::layout::binary, where + "/MW_other.bin", style)) return {};
    std::ofstream(where + "/plot_orvex_3dfields.dat") << "other\nmap\nMW_other.bin\n0\n0\n";
    return QString::fromStdString(where);
}

page_content PLOTTED_CONTENT() {
    testing::LOAD_ANALYTIC(RECIPE());
    field_grid.field_flag = 0;
    UNFOLD_GRID(fields_unfolded::on_request);
    RESET_SURFACE();
    SET_CONSOLE_QUIET(true);
    PLOT_PROFILES(field_grid.full, 0, "MW_this.bin", page_listing::printed);
    page_content content;
    content.pixels = PAGE_PIXELS();
    content.list = &DISPLAY_LIST();
    content.plotted = &PLOTTED_PAGE();
    content.png_texts = PAGE_PNG_TEXTS();
    content.fields = RUN_PAGE_FIELDS(0);
    return content;
}

QRgb CELL_COLOUR(slice_view* view, int column, int row) {
    QImage image(view->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    view->PAINT(painter, view->size());
    painter.end();
    return image.pixel(view->CELL_CENTRE(column, row).toPoint());
}

}  // namespace

class compare_window_test : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void differencesInTheSliceAndBothProfilesInADetailWindow() {
        const page_content content = PLOTTED_CONTENT();
        const grid_node changed{13, 13, 150};  // on the z axis, line 3 of the page
        const double this_ez = field_grid.full.ez_full[FULL_INDEX(changed.i, changed.j, changed.k)];
        const QString other_dir = WRITE_OTHER(dir, QStringLiteral("other"), 2, changed, this_ez + 40.0);
        QVERIFY(!other_dir.isEmpty());
        page_window window(content);
        window.resize(1400, 950);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* slices = dynamic_cast<slice_window*>(window.OPEN_SLICE_WINDOW());
        QVERIFY(slices != nullptr);
        bool offered = false;
        for (QAction* a : window.findChildren<QAction*>()) offered = offered || (a->text() == QStringLiteral("Compare &With...") && a->isEnabled());
        QVERIFY(offered);

        QString why;
        QVERIFY2(window.COMPARE_WITH(other_dir, &why), qPrintable(why));
        const double before = field_grid.full.ez_full[FULL_INDEX(changed.i, changed.j, changed.k)];
        QCOMPARE(before, this_ez);  // the page's map is as it was
        QVERIFY(window.COMPARISON() != nullptr && window.COMPARISON()->coincide);
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("Compared with")));

        // The slice window offers the differences; the XY plane through the changed node shows
        // -40 there and exactly 0 elsewhere, on the diverging map: its blue end and its centre.
        QComboBox* quantities = nullptr;
        for (QComboBox* box : slices->findChildren<QComboBox*>())
            if (box->count() >= 4 && box->itemText(0) == QStringLiteral("Ex")) quantities = box;
        QVERIFY(quantities != nullptr);
        QCOMPARE(quantities->count(), 8);
        QCOMPARE(quantities->itemText(6), QStringLiteral("Ez diff"));
        QCOMPARE(quantities->itemText(7), QStringLiteral("|E| diff"));
        slices->resize(1100, 720);
        slices->show();
        QVERIFY(QTest::qWaitForWindowExposed(slices));
        slices->SET_CUT({slice_plane::xy, changed.k, slice_quantity::difference_z, 0});
        QCOMPARE(slices->windowTitle(), QStringLiteral("Ez diff (V/cm) on the XY plane at z = 24.5 cm (node 150 of 201)"));
        slice_view* view = slices->VIEW();
        QCOMPARE(CELL_COLOUR(view, changed.i, changed.j), SLICE_RGB(diverging_map.front()));
        QCOMPARE(CELL_COLOUR(view, changed.i + 1, changed.j), SLICE_RGB(MAP_COLOUR(diverging_map, 0.5)));
        QVERIFY(view->READOUT(changed.i, changed.j).endsWith(QStringLiteral("Ez diff = -4.00000000000000E+01 V/cm")));

        // Ez along the z axis (panel 9): this map's profile and the other's, named by their files.
        QVERIFY(QMetaObject::invokeMethod(window.VIEW(), [&] { window.VIEW()->on_open_panel(9); }));
        QMainWindow* detail = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle().startsWith(QStringLiteral("Ez (V/cm) \u2014 Z (cm)"))) detail = qobject_cast<QMainWindow*>(w);
        QVERIFY(detail != nullptr);
        const QString other_file = QDir(other_dir).filePath(QStringLiteral("MW_other.bin"));
        QStringList names;
        QLineSeries* other_line = nullptr;
        for (QAbstractSeries* s : detail->findChild<QChartView*>()->chart()->series()) {
            if (s->name().isEmpty()) continue;
            names << s->name();
            if (s->name().endsWith(other_file)) other_line = qobject_cast<QLineSeries*>(s);
        }
        QCOMPARE(names, (QStringList{QStringLiteral("Ez: MW_this.bin"), QStringLiteral("Ez: ") + other_file}));
        QVERIFY(other_line != nullptr);
        QCOMPARE(other_line->count(), 201);
        for (int k = 1; k <= 201; ++k) {
            const double mine = field_grid.full.ez_full[FULL_INDEX(13, 13, k)];
            QCOMPARE(other_line->at(k - 1).y(), k == changed.k ? this_ez + 40.0 : mine);
        }

        // A second map replaces the first: a value that is not a number, noted in the strip
        // and grey in the slice.
        const QString nan_dir = WRITE_OTHER(dir, QStringLiteral("nan"), 2, changed, std::numeric_limits<double>::quiet_NaN());
        QVERIFY2(window.COMPARE_WITH(nan_dir, &why), qPrintable(why));
        QVERIFY2(window.NOTES()->text().contains(QStringLiteral("Note: in the other map: 1 value of Ez is not a number (node 13, 13, 150)")),
                 qPrintable(window.NOTES()->text()));
        QVERIFY(window.NOTES()->isVisible());
        QCOMPARE(CELL_COLOUR(view, changed.i, changed.j), qRgb(150, 150, 150));

        // A directory without a map is refused, and the comparison shown stays.
        const map_pairing* kept = window.COMPARISON();
        QVERIFY(!window.COMPARE_WITH(dir.filePath(QStringLiteral("none")), &why));
        QVERIFY2(why.contains(QStringLiteral("plot_orvex_3dfields.dat")), qPrintable(why));
        QCOMPARE(window.COMPARISON(), kept);
        QCOMPARE(slices->CUT().quantity, slice_quantity::difference_z);
    }
};

QTEST_MAIN(compare_window_test)
#include "compare_window_test.moc"
