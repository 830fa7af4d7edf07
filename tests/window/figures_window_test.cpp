// figures_window_test.cpp: View > Figures on a map of both fields, as a run hands it over (only
// line 5's field unfolded): both fields in the table, a frequency that is no number refused,
// and the document copied and exported the same as plot_orvex_3dfields --figures writes for the
// same map, frequency and beta.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <fstream>
#include <string>

#include "console/console.h"
#include "driver/page_run.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "field/analytic_grid.h"
#include "map_writer.h"
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
        const std::string map = dir.filePath(QStringLiteral("MW_map.bin")).toStdString();
        QVERIFY(mapgen::WRITE_FIELD_MAP(recipe, mapgen::layout::binary, map));
        std::ofstream(dir.filePath(QStringLiteral("plot_orvex_3dfields.dat")).toStdString()) << "a\nb\nMW_map.bin\n0\n0\n";

        // The run's grid: the map's stored lattice, line 5's field unfolded.
        testing::LOAD_ANALYTIC(recipe);
        field_grid.field_flag = 0;
        UNFOLD_GRID(fields_unfolded::on_request);
        page_content content;
        content.fields = RUN_PAGE_FIELDS(0);
        content.figures = RUN_PAGE_FIGURES();
        content.figures.map_file = "MW_map.bin";

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
};

QTEST_MAIN(figures_window_test)
#include "figures_window_test.moc"
