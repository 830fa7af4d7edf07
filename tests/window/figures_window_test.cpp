// figures_window_test.cpp: View > Figures on a map of both fields, as a run hands it over (only
// line 5's field unfolded): both fields in the table, a frequency that is no number refused,
// and the document copied and exported the same as plot_orvex_3dfields --figures writes for the
// same map, frequency and beta; on a quadrupole magnet, the multipoles' rows at a radius typed
// and a harmonic along z in a detail window.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <cmath>

#include <fstream>
#include <string>

#include "console/console.h"
#include "driver/page_run.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "field/analytic_grid.h"
#include "map_writer.h"
#include "run_content.h"
#include "window/figures_table.h"
#include "window/figures_window.h"

using namespace orvex;

class figures_window_test : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void bothFieldsAndTheCommandLinesDocument() {
        mapgen::map_recipe recipe;
        recipe.kind = 2;
        recipe.n_cell = 3;
        recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
        QVERIFY(testing::WRITE_MAP_AND_CONTROL(dir, recipe, "MW_map.bin"));
        // The run's grid: the map's stored lattice, line 5's field asked for.
        const page_content content = testing::RUN_CONTENT(recipe, 0, "MW_map.bin");

        figures_window window(content, nullptr);
        window.FREQUENCY()->setText(QStringLiteral("about 350"));
        QVERIFY(!window.COMPUTE(false));
        QVERIFY(window.MESSAGE()->text().contains(QStringLiteral("frequency")));
        window.FREQUENCY()->setText(QStringLiteral("352.21"));
        window.BETA()->setText(QStringLiteral("0.5"));
        QVERIFY(window.COMPUTE(true));
        QCOMPARE(window.TABLE()->topLevelItemCount(), 3);  // both fields and the curl check

        QProcess run;
        run.setWorkingDirectory(dir.path());
        run.start(QStringLiteral(ORVEX_PROGRAM), {QStringLiteral("--figures"), QStringLiteral("--frequency"),
                                                  QStringLiteral("352.21"), QStringLiteral("--beta"), QStringLiteral("0.5")});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);
        const QByteArray expected = run.readAllStandardOutput();
        QCOMPARE(QByteArray::fromStdString(window.DOCUMENT()), expected);

        const QString path = dir.filePath(QStringLiteral("figures.json"));
        QString why;
        QVERIFY2(window.EXPORT_TO(path, &why), qPrintable(why));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), expected);
    }

    // A quadrupole with b6 = 10 units at 1 cm: a radius that is no number refused; at 1 cm the
    // multipoles' rows give b6, and the harmonic's row opens b6(z) and a6(z) in a detail
    // window: 10 and 0 on every plane.
    void multipolesBranchAndHarmonicAlongZ() {
        mapgen::map_recipe recipe;
        recipe.kind = 1;
        recipe.model = mapgen::field_model::multipole;
        recipe.magnet.added = {{6, 10.0, 0.0}};
        const page_content content = testing::RUN_CONTENT(recipe, 1, "PMQ_map.bin");

        figures_window window(content, nullptr);
        window.show();
        window.RADIUS()->setText(QStringLiteral("-1"));
        QVERIFY(!window.COMPUTE(false));
        QVERIFY(window.MESSAGE()->text().contains(QStringLiteral("radius")));
        QVERIFY(window.PLOT_HARMONIC(nullptr) == nullptr);
        window.RADIUS()->setText(QStringLiteral("1"));
        QVERIFY(window.COMPUTE(false));

        const auto rows = window.TABLE()->findItems(QStringLiteral("n = 6 (dodecapole)"), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(rows.size(), 1);
        QTreeWidgetItem* sixth = rows[0];
        QCOMPARE(sixth->parent()->parent()->text(0), QStringLiteral("multipoles at r_ref = 1 cm"));
        QCOMPARE(sixth->child(0)->text(0), QStringLiteral("b6 (normal)"));
        QVERIFY(std::fabs(sixth->child(0)->text(1).toDouble() - 10.0) < 1e-4);

        window.TABLE()->setCurrentItem(sixth->child(0));
        QWidget* detail = window.PLOT_HARMONIC(window.TABLE()->currentItem());
        QVERIFY(detail != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(detail));
        QCOMPARE(detail->windowTitle(), QStringLiteral("b6, a6 (units) \u2014 Z (cm), magnetic multipoles at r_ref = 1 cm"));
        const QChart* chart = detail->findChild<QChartView*>()->chart();
        QVERIFY(!chart->title().contains(QStringLiteral("fixed nodes")));
        const QList<QAbstractSeries*> series = chart->series();  // b6, a6: one unbroken line and the markers each
        QCOMPARE(series.size(), 4);
        QCOMPARE(series[0]->name(), QStringLiteral("b6"));
        for (const int s : {0, 2}) {
            const QList<QPointF> points = static_cast<QLineSeries*>(series[s])->points();
            QCOMPARE(points.size(), 201);
            for (const QPointF& p : points) QVERIFY(std::fabs(p.y() - (s == 0 ? 10.0 : 0.0)) < 1e-4);
        }
        detail->close();
    }
};

QTEST_MAIN(figures_window_test)
#include "figures_window_test.moc"
