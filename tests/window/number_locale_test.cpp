// number_locale_test.cpp: the window under a comma-decimal locale (de_DE.UTF-8, made with
// localedef in a folder of the test's own when the system lacks it), taken from the
// environment as the program's window takes it: the page (its ticks), the listing, the
// readouts, the titles, the detail window's axis labels, the slice CSV and the figures JSON are
// the texts of the C locale, the JSON the one plot_orvex_3dfields --figures writes.
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChartView>

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "console/console.h"
#include "driver/page_run.h"
#include "field/analytic_grid.h"
#include "field/unfold.h"
#include "map_writer.h"
#include "page/page_readout.h"
#include "page/plot_driver.h"
#include "window/detail_window.h"
#include "window/figures_window.h"
#include "window/slice_view.h"
#include "window/slice_window.h"

using namespace orvex;

namespace {

// What f gives in the C locale (this thread's).
template <class F>
auto IN_C(F f) {
    const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr), before = uselocale(c);
    auto result = f();
    uselocale(before);
    freelocale(c);
    return result;
}

std::string HALF() {
    char text[8];
    std::snprintf(text, sizeof text, "%.1f", 2.5);
    return text;
}

// The run's page and listing of the map of both fields (the date stamp left out).
std::string PAGE_AND_LISTING(const mapgen::map_recipe& recipe) {
    testing::LOAD_ANALYTIC(recipe);
    field_grid.field_flag = 0;
    UNFOLD_GRID(fields_unfolded::on_request);
    RESET_SURFACE();
    CLEAR_CONSOLE_LOG();
    SET_CONSOLE_QUIET(true);
    PLOT_PROFILES(field_grid.full, 0, "MW_map.bin", page_listing::printed);
    std::string page(reinterpret_cast<const char*>(PAGE_PIXELS().data()), PAGE_PIXELS().size_bytes());
    return page.substr(40 * page_width * sizeof(packed_colour)) + std::string(CONSOLE_LOG());
}

}  // namespace

class number_locale_test : public QObject {
    Q_OBJECT

private slots:
    void everyNumberIsTheCLocales() {
        QTemporaryDir dir;
        mapgen::map_recipe recipe;
        recipe.n_cell = 3;
        recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
        QVERIFY(IN_C([&] { return PAGE_AND_LISTING(recipe); }) == PAGE_AND_LISTING(recipe));
        const full_map& g = field_grid.full;
        QCOMPARE(READOUT_TEXT(PLOTTED_PAGE().panels[8], 250), IN_C([&] { return READOUT_TEXT(PLOTTED_PAGE().panels[8], 250); }));

        slice_window slices(&g, 0, "MW_map.bin", nullptr);
        slices.SET_CUT({slice_plane::xz, 12, slice_quantity::x, 0});
        QCOMPARE(slices.windowTitle(), QStringLiteral("Ex (V/cm) on the XZ plane at y = -1.08333333333 cm (node 12 of 49)"));
        slices.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slices));
        const QPointF cell = slices.VIEW()->CELL_CENTRE(300, 30);
        QMouseEvent move(QEvent::MouseMove, cell, slices.VIEW()->mapToGlobal(cell), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(slices.VIEW(), &move);
        QCOMPARE(slices.statusBar()->currentMessage(), IN_C([&] { return slices.VIEW()->READOUT(300, 30); }));
        QVERIFY(slices.statusBar()->currentMessage().contains(QStringLiteral("E+")));
        const QString csv = dir.filePath(QStringLiteral("slice.csv"));
        QVERIFY(slices.EXPORT_SLICE_TO(csv, nullptr));
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().toStdString(), IN_C([&] { return SLICE_CSV(g, slices.CUT(), "MW_map.bin"); }));

        QCOMPARE(OPEN_NODE_LINE(g, 0, "", 'x', {3, 4, 5}, 2, &slices)->windowTitle(), QStringLiteral("Ey (V/cm) \u2014 X (cm), Y=-1.75, Z=-49"));
        for (QAbstractAxis* axis : OPEN_DETAIL_WINDOW(PLOTTED_PAGE(), 9, &slices)->findChild<QChartView*>()->chart()->axes()) {
            auto* ticks = static_cast<QCategoryAxis*>(axis);
            QVERIFY(ticks->categoriesLabels().size() >= 2);
            for (const QString& label : ticks->categoriesLabels()) QCOMPARE(label.toDouble(), ticks->endValue(label));
        }

        QVERIFY(mapgen::WRITE_FIELD_MAP(recipe, mapgen::layout::binary, dir.filePath(QStringLiteral("MW_map.bin")).toStdString()));
        std::ofstream(dir.filePath(QStringLiteral("plot_orvex_3dfields.dat")).toStdString()) << "a\nb\nMW_map.bin\n0\n0\n";
        page_content content;
        content.fields = RUN_PAGE_FIELDS(0);
        content.figures = RUN_PAGE_FIGURES();
        content.figures.map_file = "MW_map.bin";
        figures_window figures(content, nullptr);
        figures.FREQUENCY()->setText(QStringLiteral("352.21"));
        figures.BETA()->setText(QStringLiteral("0.5"));
        QVERIFY(figures.COMPUTE(true));
        QProcess run;
        QProcessEnvironment c_locale = QProcessEnvironment::systemEnvironment();
        c_locale.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        run.setProcessEnvironment(c_locale);
        run.setWorkingDirectory(dir.path());
        run.start(QStringLiteral(ORVEX_PROGRAM), {QStringLiteral("--figures"), QStringLiteral("--frequency"), QStringLiteral("352.21"),
                                                  QStringLiteral("--beta"), QStringLiteral("0.5")});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(QByteArray::fromStdString(figures.DOCUMENT()), run.readAllStandardOutput());
    }
};

int main(int argc, char** argv) {
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const std::filesystem::path made_in = std::filesystem::temp_directory_path() / ("orvex_locale_" + std::to_string(getpid()));
    if (locale_t l = newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr)) {
        freelocale(l);
    } else if (std::filesystem::create_directories(made_in)) {  // not installed: made where LOCPATH says
        [[maybe_unused]] const int status = std::system(("localedef -i de_DE -f UTF-8 " + (made_in / "de_DE.UTF-8").string() + " 2> /dev/null").c_str());
        setenv("LOCPATH", made_in.c_str(), 1);
    }
    QApplication application(argc, argv);  // sets the locale from the environment
    int status = 0;
    if (HALF() == "2,5" && IN_C(HALF) == "2.5") {
        number_locale_test test;
        status = QTest::qExec(&test, argc, argv);
    } else {
        std::printf("skipped: de_DE.UTF-8 cannot be had here (Debian's locales package brings localedef and its sources)\n");
    }
    std::filesystem::remove_all(made_in);
    return status;
}

#include "number_locale_test.moc"
