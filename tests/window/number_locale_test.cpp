// number_locale_test.cpp: the window started under LC_ALL=de_DE.UTF-8 (made with localedef
// where LOCPATH points when the system lacks it), a locale whose printf writes 2,5: the page's
// ticks and listing, the readouts, the titles, the detail window's axis labels, the slice CSV
// and the figures JSON are the texts the C locale gives.
#include <QApplication>
#include <QLineEdit>
#include <QtTest>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChartView>

#include <locale.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "console/console.h"
#include "driver/page_run.h"
#include "field/analytic_grid.h"
#include "field/unfold.h"
#include "page/page_readout.h"
#include "page/plot_driver.h"
#include "window/detail_window.h"
#include "window/figures_window.h"
#include "window/slice_view.h"
#include "window/slice_window.h"

using namespace orvex;

// What f gives in the C locale (this thread's).
template <class F>
auto IN_C(F f) {
    const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr), before = uselocale(c);
    auto result = f();
    uselocale(before);
    freelocale(c);
    return result;
}

// The page (its top rows, with the date, left out) and the listing of a run.
std::string PAGE_AND_LISTING() {
    RESET_SURFACE();
    CLEAR_CONSOLE_LOG();
    PLOT_PROFILES(field_grid.full, 0, "MW_map.bin", page_listing::printed);
    const std::span<const packed_colour> page = PAGE_PIXELS().subspan(40 * page_width);
    return std::string(reinterpret_cast<const char*>(page.data()), page.size_bytes()) + std::string(CONSOLE_LOG());
}

class number_locale_test : public QObject {
    Q_OBJECT

private slots:
    void everyNumberIsTheCLocales() {
        mapgen::map_recipe recipe;
        recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
        testing::LOAD_ANALYTIC(recipe);
        UNFOLD_GRID();
        SET_CONSOLE_QUIET(true);
        QCOMPARE(IN_C([] { return std::to_string(2.5); }), std::string("2.500000"));
        QVERIFY(PAGE_AND_LISTING() == IN_C(PAGE_AND_LISTING));
        const plotted_panel& panel = PLOTTED_PAGE().panels[8];
        QCOMPARE(READOUT_TEXT(panel, 250), IN_C([&] { return READOUT_TEXT(panel, 250); }));

        const full_map& g = field_grid.full;
        slice_window slices(&g, 0, "MW_map.bin", nullptr);
        slices.SET_CUT({slice_plane::xz, 12, slice_quantity::x, 0});
        QCOMPARE(slices.windowTitle(), QStringLiteral("Ex (V/cm) on the XZ plane at y = -1.08333333333 cm (node 12 of 49)"));
        QCOMPARE(slices.VIEW()->READOUT(300, 30), IN_C([&] { return slices.VIEW()->READOUT(300, 30); }));
        QCOMPARE(SLICE_CSV(g, slices.CUT(), "MW_map.bin"), IN_C([&] { return SLICE_CSV(g, slices.CUT(), "MW_map.bin"); }));
        QCOMPARE(OPEN_NODE_LINE(g, 0, "", 'x', {3, 4, 5}, 2, &slices)->windowTitle(), QStringLiteral("Ey (V/cm) \u2014 X (cm), Y=-1.75, Z=-49"));
        for (QAbstractAxis* axis : OPEN_DETAIL_WINDOW(PLOTTED_PAGE(), 1, &slices)->findChild<QChartView*>()->chart()->axes()) {
            auto* ticks = static_cast<QCategoryAxis*>(axis);
            ticks->setRange(0.1, 0.35);  // zoomed in: ticks of 0.05
            QCOMPARE(ticks->categoriesLabels().size(), 5);
            for (const QString& label : ticks->categoriesLabels()) QCOMPARE(label.toDouble(), ticks->endValue(label));
        }

        page_content content;
        content.fields = RUN_PAGE_FIELDS(0);
        figures_window figures(content, nullptr);
        figures.FREQUENCY()->setText(QStringLiteral("352.21"));
        figures.BETA()->setText(QStringLiteral("0.5"));
        QVERIFY(figures.COMPUTE(true));
        QCOMPARE(figures.DOCUMENT(), IN_C([&] { return figures.COMPUTE(true), figures.DOCUMENT(); }));
    }
};

int main(int argc, char** argv) {
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const std::filesystem::path made_in = std::filesystem::temp_directory_path() / ("orvex_locale_" + std::to_string(getpid()));
    if (locale_t l = newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr)) {
        freelocale(l);
    } else if (std::filesystem::create_directories(made_in)) {
        setenv("LOCPATH", made_in.c_str(), 1);
        [[maybe_unused]] const int status = std::system(("localedef -i de_DE -f UTF-8 " + made_in.string() + "/de_DE.UTF-8 2> /dev/null").c_str());
    }
    QApplication application(argc, argv);  // sets the locale from the environment
    int status = 0;
    if (std::to_string(2.5) == "2,500000") {
        number_locale_test test;
        status = QTest::qExec(&test, argc, argv);
    } else {
        std::puts("skipped: de_DE.UTF-8 cannot be had here (Debian's locales package brings localedef and its sources)");
    }
    std::filesystem::remove_all(made_in);
    return status;
}

#include "number_locale_test.moc"
