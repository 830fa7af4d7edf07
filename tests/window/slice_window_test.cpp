// slice_window_test.cpp: the whole map in the window: slices exported as the grid holds them on
// every kind of plane, the node under the pointer at three zoom levels, the page of each field
// after Ctrl+1 / Ctrl+2 as the run of that field draws it, and the line through a node.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/console.h"
#include "driver/page_run.h"
#include "field/field_grid.h"
#include "field/slices.h"
#include "field/unfold.h"
#include "field/analytic_grid.h"
#include "map_writer.h"
#include "page/plot_driver.h"
#include "page/plotted_page.h"
#include "surface/display_list.h"
#include "surface/png_output.h"
#include "surface/surface.h"
#include "window/page_view.h"
#include "window/detail_window.h"
#include "window/page_window.h"
#include "window/slice_view.h"
#include "window/slice_window.h"

using namespace orvex;

namespace {

mapgen::map_recipe RECIPE(int kind) {
    mapgen::map_recipe recipe;
    recipe.kind = kind;
    recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
    return recipe;
}

// A run's stages up to the page, for the analytic map of every mirror: only line 5's triple
// unfolded, as a run does it.
void PLOT_RUN(int kind, int field_flag) {
    const mapgen::map_recipe recipe = RECIPE(kind);
    testing::LOAD_ANALYTIC(recipe);
    field_grid.field_flag = field_flag;
    UNFOLD_GRID(fields_unfolded::on_request);
    RESET_SURFACE();
    SET_CONSOLE_QUIET(true);
    PLOT_PROFILES(field_grid.full, field_flag, "", page_listing::printed);
}

// Full node n of a mirrored axis lies at stored node |n - pivot| + 1 (pivot 25 across, 201
// along z), on the negative side below the pivot: the coordinate the map writer wrote.
double WRITTEN_COORDINATE(char axis, int n) {
    const mapgen::map_recipe recipe = RECIPE(2);
    const int pivot = axis == 'z' ? 201 : 25;
    const int stored = std::abs(n - pivot) + 1;
    const double at = axis == 'x' ? mapgen::STORED_X(recipe, stored) : axis == 'y' ? mapgen::STORED_Y(recipe, stored)
                                                                                   : mapgen::STORED_Z(recipe, stored);
    return n < pivot ? -at : at;
}

std::vector<std::vector<std::string>> CSV_ROWS(const QString& path, QStringList& comments, QString& header) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::vector<std::vector<std::string>> rows;
    header = lines.value(0);
    for (qsizetype n = 1; n < lines.size(); ++n) {
        if (lines[n].startsWith(QLatin1Char('#'))) {
            comments << lines[n];
            continue;
        }
        std::vector<std::string> cells;
        for (const QString& cell : lines[n].split(QLatin1Char(','))) cells.push_back(cell.toStdString());
        rows.push_back(cells);
    }
    return rows;
}

double NUMBER(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

}  // namespace

class slice_window_test : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void sliceCsvHoldsTheUnfoldedGridOnEveryPlane() {
        PLOT_RUN(2, 0);
        const full_map& g = field_grid.full;
        slice_window window(&g, 0, "MW_map.bin", nullptr);
        // Ez is odd in z: zero everywhere at z = 0, so the window opens on the magnitude.
        QCOMPARE(window.windowTitle(), QStringLiteral("|E| (V/cm) on the XY plane at z = 0 cm (node 201 of 401)"));
        const struct { slice_plane plane; int node; slice_quantity quantity; int rows; } cuts[] = {
            {slice_plane::xy, 37, slice_quantity::x, 49 * 49},
            {slice_plane::xz, 12, slice_quantity::z, 49 * 401},
            {slice_plane::yz, 49, slice_quantity::y, 49 * 401},
            {slice_plane::xy, 1, slice_quantity::magnitude, 49 * 49},
        };
        for (const auto& c : cuts) {
            window.SET_CUT({c.plane, c.node, c.quantity, 0});
            const QString path = dir.filePath(QStringLiteral("slice.csv"));
            QString why;
            QVERIFY2(window.EXPORT_SLICE_TO(path, &why), qPrintable(why));
            QStringList comments;
            QString header;
            const auto rows = CSV_ROWS(path, comments, header);
            QCOMPARE(header, QStringLiteral("i,j,k,x,y,z,value"));
            QVERIFY(comments.join(QLatin1Char('\n')).contains(QStringLiteral("MW_map.bin")));
            QVERIFY(comments.join(QLatin1Char('\n')).contains(QString::fromLatin1(PLANE_NAME(c.plane).data(), 2)));
            QCOMPARE(static_cast<int>(rows.size()), c.rows);
            int previous = -1;
            for (const auto& row : rows) {
                QCOMPARE(row.size(), std::size_t{7});
                const int i = std::stoi(row[0]), j = std::stoi(row[1]), k = std::stoi(row[2]);
                const int normal = c.plane == slice_plane::xy ? k : c.plane == slice_plane::xz ? j : i;
                QCOMPARE(normal, c.node);
                // One row per node, i fastest, then j, then k.
                const int order = (k * 50 + j) * 50 + i;
                QVERIFY(order > previous);
                previous = order;
                QVERIFY(std::fabs(NUMBER(row[3]) - WRITTEN_COORDINATE('x', i)) < 1e-12);
                QVERIFY(std::fabs(NUMBER(row[4]) - WRITTEN_COORDINATE('y', j)) < 1e-12);
                QVERIFY(std::fabs(NUMBER(row[5]) - WRITTEN_COORDINATE('z', k)) < 1e-9);
                const std::size_t at = FULL_INDEX(i, j, k);
                const double ex = g.ex_full[at], ey = g.ey_full[at], ez = g.ez_full[at];
                const double expected = c.quantity == slice_quantity::x   ? ex
                                        : c.quantity == slice_quantity::y ? ey
                                        : c.quantity == slice_quantity::z ? ez
                                                                          : std::sqrt(ex * ex + ey * ey + ez * ez);
                QCOMPARE(NUMBER(row[6]), expected);  // bit for bit: 17 digits read back
            }
        }
    }

    void readoutNamesTheNodeUnderThePointerAtThreeZooms() {
        PLOT_RUN(2, 0);
        const full_map& g = field_grid.full;
        slice_window window(&g, 0, "MW_map.bin", nullptr);
        window.resize(1200, 760);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.SET_CUT({slice_plane::xz, 20, slice_quantity::x, 0});
        slice_view* view = window.VIEW();
        for (const double zoom : {1.0, 4.0, 16.0}) {
            view->RESET_ZOOM();
            view->ZOOM_ABOUT(zoom, view->CELL_CENTRE(300, 30));
            QCOMPARE(view->ZOOM(), zoom);
            for (const auto& [column, row] : {std::pair{300, 30}, std::pair{301, 30}, std::pair{299, 30}}) {
                // Anywhere on the cell, not only its centre, reads it.
                for (const double off : {-0.4, 0.0, 0.4}) {
                    const QPointF centre = view->CELL_CENTRE(column, row);
                    const QPointF next = view->CELL_CENTRE(column + 1, row + 1);
                    const QPointF at(centre.x() + off * (next.x() - centre.x()), centre.y() + off * (next.y() - centre.y()));
                    // Cells may be narrower than a screen pixel: the pointer's exact place.
                    QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                    QApplication::sendEvent(view, &move);
                    const grid_node n{row, 20, column};  // the XZ plane: z across, x up
                    const QString expected =
                        QStringLiteral("(i, j, k = %1, %2, %3) | Ex = %4 V/cm")
                            .arg(n.i).arg(n.j).arg(n.k)
                            .arg(QString::asprintf("%.14E", g.ex_full[FULL_INDEX(n.i, n.j, n.k)]));
                    // The node's readout, then the value at the pointer's own place (between_nodes_test.cpp).
                    QVERIFY2(window.statusBar()->currentMessage().contains(expected + QStringLiteral(" | cubic: Ex = ")),
                             qPrintable(window.statusBar()->currentMessage() + QStringLiteral(" / ") + expected));
                }
            }
        }
        // Coordinates that are not numbers give no scale in cm: the cells still read their nodes.
        const double dz = field_grid.full.dz;
        field_grid.full.dz = NAN;
        window.SET_CUT({slice_plane::xy, 20, slice_quantity::x, 0});
        window.SET_CUT({slice_plane::xz, 20, slice_quantity::x, 0});
        const QPointF cell = view->CELL_CENTRE(10, 5);
        QMouseEvent onto(QEvent::MouseMove, cell, view->mapToGlobal(cell), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view, &onto);
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("(i, j, k = 5, 20, 10)")));
        field_grid.full.dz = dz;
        window.SET_CUT({slice_plane::xz, 20, slice_quantity::x, 0});
        // Page Up steps the node, End goes to the last; the caption follows.
        QTest::keyClick(&window, Qt::Key_PageUp);
        QCOMPARE(window.CUT().node, 21);
        QTest::keyClick(&window, Qt::Key_End);
        QCOMPARE(window.CUT().node, 49);
        QVERIFY(window.windowTitle().endsWith(QStringLiteral("(node 49 of 49)")));
    }

    // Save Image writes the picture --slice writes of the same cut, size and map: the PNG pixel
    // for pixel (and the view shows those pixels), the SVG and the PDF byte for byte.
    void saveImageIsThePictureThatSliceWrites() {
        PLOT_RUN(2, 0);
        QTemporaryDir maps;
        QVERIFY(WRITE_FIELD_MAP(RECIPE(2), mapgen::layout::binary, maps.filePath(QStringLiteral("MW_map.bin")).toStdString()));
        QFile control(maps.filePath(QStringLiteral("plot_orvex_3dfields.dat")));
        QVERIFY(control.open(QIODevice::WriteOnly));
        control.write("slice\nwindow\nMW_map.bin\n0\n0\n");
        control.close();
        slice_window window(&field_grid.full, 0, "MW_map.bin", nullptr);
        window.resize(1000, 640);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.SET_CUT({slice_plane::xz, 20, slice_quantity::x, 0});
        const QSize size = window.VIEW()->size();
        for (const QString& suffix : {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")}) {
            const QString saved = dir.filePath(QStringLiteral("window.") + suffix), written = dir.filePath(QStringLiteral("run.") + suffix);
            QString why;
            QVERIFY2(window.SAVE_IMAGE_TO(saved, &why), qPrintable(why));
            QStringList args{QStringLiteral("--slice"), QStringLiteral("xz:20:x"), QStringLiteral("--image"), written, maps.path()};
            if (suffix != QStringLiteral("pdf")) args << QStringLiteral("--size") << QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
            QProcess run;
            run.start(QStringLiteral(ORVEX_PROGRAM), args);
            QVERIFY(run.waitForFinished(60000));
            QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
            if (suffix == QStringLiteral("png")) {
                const QImage from_window(saved), from_run(written);
                QCOMPARE(from_window.size(), size);
                QVERIFY(from_window == from_run);
                QVERIFY(window.VIEW()->grab().toImage().convertToFormat(from_run.format()) == from_run);
            } else {
                QFile a(saved), b(written);
                QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
                QVERIFY(a.readAll() == b.readAll());
            }
        }
    }

    void ctrlOneAndTwoShowThePagesOfTheTwoRuns() {
        const auto page_of = [](const QImage& image) {
            std::vector<QRgb> pixels;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    // The date stamp (950, 10 onwards, in the top 40 rows) is the time of drawing.
                    pixels.push_back(y < 40 && x >= 900 ? 0u : image.pixel(x, y));
            return pixels;
        };
        PLOT_RUN(2, 1);
        const std::vector<QRgb> magnetic_run = page_of(PAGE_IMAGE_OF(PAGE_PIXELS()));
        PLOT_RUN(2, 0);
        const std::vector<QRgb> electric_run = page_of(PAGE_IMAGE_OF(PAGE_PIXELS()));
        QVERIFY(magnetic_run != electric_run);
        page_content content;
        content.pixels = PAGE_PIXELS();
        content.list = &DISPLAY_LIST();
        content.plotted = &PLOTTED_PAGE();
        content.png_texts = PAGE_PNG_TEXTS();
        content.fields = RUN_PAGE_FIELDS(field_grid.field_flag);
        // A run unfolds only line 5's field: the other waits for the switch.
        QCOMPARE(field_grid.full.bz_full[FULL_INDEX(30, 30, 300)], 0.0);
        page_window window(content);
        window.resize(1400, 950);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* slices = qobject_cast<QMainWindow*>(window.OPEN_SLICE_WINDOW());
        QVERIFY(slices != nullptr);
        // A detail window of panel 9 (Ez along the z axis) and one of a node line follow the switch.
        QVERIFY(QMetaObject::invokeMethod(window.VIEW(), [&] { window.VIEW()->on_open_panel(9); }));
        OPEN_NODE_LINE(field_grid.full, 0, "", 'x', {3, 4, 5}, 2, slices);
        const auto detail_titles = [&] {
            QStringList titles;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w->windowTitle().contains(QStringLiteral(" \u2014 "))) titles << w->windowTitle();
            titles.sort();
            return titles;
        };
        QCOMPARE(detail_titles(), (QStringList{QStringLiteral("Ey (V/cm) \u2014 X (cm), Y=-1.75, Z=-49"),
                                               QStringLiteral("Ez (V/cm) \u2014 Z (cm), X=Y=0")}));
        // The keys work in the slice window too.
        QTest::qWait(100);  // the detail windows have taken the focus as they opened
        QApplication::setActiveWindow(slices);
        QVERIFY(QTest::qWaitForWindowActive(slices));
        QTest::keySequence(slices, QKeySequence(Qt::CTRL | Qt::Key_2));
        QVERIFY2(window.FIELD_SHOWN() == 1, qPrintable(window.statusBar()->currentMessage()));
        QVERIFY(page_of(window.VIEW()->PAGE_IMAGE()) == magnetic_run);
        QVERIFY(field_grid.full.bz_full[FULL_INDEX(30, 30, 300)] != 0.0);
        QVERIFY(slices->windowTitle().startsWith(QStringLiteral("|B| (Gs) on the XY plane")));
        QTest::qWait(50);  // the closed windows go
        QCOMPARE(detail_titles(), (QStringList{QStringLiteral("By (Gs) \u2014 X (cm), Y=-1.75, Z=-49"),
                                               QStringLiteral("Bz (Gs) \u2014 Z (cm), X=Y=0")}));
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("magnetic")));
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keySequence(&window, QKeySequence(Qt::CTRL | Qt::Key_1));
        QCOMPARE(window.FIELD_SHOWN(), 0);
        QVERIFY(page_of(window.VIEW()->PAGE_IMAGE()) == electric_run);
        QVERIFY(slices->windowTitle().startsWith(QStringLiteral("|E| (V/cm)")));

        // A map of the electric field only: the magnetic entry is off and says why.
        PLOT_RUN(0, 0);
        content.fields = RUN_PAGE_FIELDS(field_grid.field_flag);
        page_window single(content);
        bool said = false;
        for (QAction* action : single.findChildren<QAction*>()) {
            if (!action->text().contains(QStringLiteral("Magnetic Field"))) continue;
            QVERIFY(!action->isEnabled());
            said = action->text().contains(QStringLiteral("only the electric field"));
        }
        QVERIFY(said);
    }

    // On |E| where Ez, odd in z, is zero on the whole XY plane at z = 0; on Bz, even, which
    // keeps one sign there and takes its own range, or -m..m when asked. The XZ plane of a map
    // 4 cm by 100 cm opens stretched, until the user sets the one option, Same Scale.
    void opensOnWhatThereIsToSeeAndAsItFits() {
        PLOT_RUN(0, 0);
        QVERIFY(slice_window(&field_grid.full, 0, "", nullptr).windowTitle().startsWith(QStringLiteral("|E| (V/cm) on the XY plane at z = 0 cm")));
        PLOT_RUN(1, 1);
        slice_window window(&field_grid.full, 1, "", nullptr);
        double least = INFINITY, most = 0.0;
        for (int n = 0; n < 49 * 49; ++n) {
            least = std::min(least, field_grid.full.bz_full[FULL_INDEX(n % 49 + 1, n / 49 + 1, 201)]);
            most = std::max(most, field_grid.full.bz_full[FULL_INDEX(n % 49 + 1, n / 49 + 1, 201)]);
        }
        const slice_colours colours = window.VIEW()->COLOURS();
        QVERIFY(least > 0.0 && !colours.diverging && colours.lo == least && colours.hi == most);
        for (QAction* a : window.findChildren<QAction*>())
            if (a->text() == QStringLiteral("S&ymmetric Colour Range")) a->setChecked(true);
        const slice_colours symmetric = window.VIEW()->COLOURS();
        QVERIFY(symmetric.diverging && symmetric.lo == -most && symmetric.hi == most);
        auto* same_scale = window.findChild<QCheckBox*>();
        window.SET_CUT({slice_plane::xz, 25, slice_quantity::z, 1});
        QVERIFY(window.VIEW()->STRETCHED() && !same_scale->isChecked());
        same_scale->click();
        window.SET_CUT({slice_plane::yz, 25, slice_quantity::z, 1});
        QVERIFY(!window.VIEW()->STRETCHED());
    }

    void lineThroughANodeHoldsTheGridAlongIt() {
        PLOT_RUN(2, 0);
        const full_map& g = field_grid.full;
        QWidget owner;
        // Asked by point: (0.3, -0.55, 7) cm is taken to the nearest node, and the window says so.
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            dialog->findChildren<QRadioButton*>().at(1)->setChecked(true);
            const QList<QDoubleSpinBox*> point = dialog->findChildren<QDoubleSpinBox*>();
            point[0]->setValue(0.3);
            point[1]->setValue(-0.55);
            point[2]->setValue(7.0);
            dialog->accept();
        });
        auto* line = qobject_cast<QMainWindow*>(ASK_NODE_LINE(g, 0, "MW_map.bin", &owner));
        QVERIFY(line != nullptr);
        // Nodes lie every 2/24 cm across and 50/200 cm along z.
        const int i = 25 + 4, j = 25 - 7, k = 201 + 28;
        QVERIFY2(line->statusBar()->currentMessage().contains(QStringLiteral("nearest node (i, j, k = %1, %2, %3)").arg(i).arg(j).arg(k)),
                 qPrintable(line->statusBar()->currentMessage()));
        QCOMPARE(line->windowTitle(), QStringLiteral("Ez (V/cm) \u2014 Z (cm), X=0.333333333333, Y=-0.583333333333"));
        const auto* chart = line->findChild<QChartView*>();
        QVERIFY(chart != nullptr);
        const auto* series = qobject_cast<QLineSeries*>(chart->chart()->series().value(0));
        QVERIFY(series != nullptr);
        QCOMPARE(series->count(), 401);
        for (int n = 1; n <= 401; ++n) {
            const QPointF p = series->at(n - 1);
            QCOMPARE(p.y(), g.ez_full[FULL_INDEX(i, j, n)]);
            QVERIFY(std::fabs(p.x() - WRITTEN_COORDINATE('z', n)) < 1e-9);
        }
        line->close();
    }
};

QTEST_MAIN(slice_window_test)
#include "slice_window_test.moc"
