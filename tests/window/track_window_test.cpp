// track_window_test.cpp: View > Track a Particle on a pillbox cavity's map (both fields), as a
// run hands it over: values the rules refuse are said and change nothing; the document of a
// track is the one plot_orvex_3dfields --track ... --matrix writes for the same request; a
// scan marks its crest on the chart; the trajectory exported reads back as CSV whose last row is
// the particle's exit.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <QtCharts/QXYSeries>
#include <QtTest>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "driver/page_run.h"
#include "field/analytic_grid.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "map_writer.h"
#include "run_content.h"
#include "window/track_window.h"

using namespace orvex;

class track_window_test : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void tracksAsTheCommandLineDoes() {
        mapgen::map_recipe recipe;
        recipe.kind = 2;
        recipe.model = mapgen::field_model::pillbox;
        recipe.ksym_yz = recipe.ksym_xz = 1;
        recipe.z_hi = 10.0;
        QVERIFY(testing::WRITE_MAP_AND_CONTROL(dir, recipe, "MW_pillbox.bin"));
        const page_content content = testing::RUN_CONTENT(recipe, 0, "MW_pillbox.bin");

        track_window window(content, nullptr);
        const std::string first = window.DOCUMENT();  // a 10 MeV proton, static
        QVERIFY(nlohmann::json::parse(first)["tracks"].size() == 1);
        window.PARTICLE()->setEditText(QStringLiteral("muon"));
        QVERIFY(!window.TRACK(false));
        QVERIFY(window.MESSAGE()->text().startsWith(QStringLiteral("The particle takes proton, electron")));
        window.PARTICLE()->setEditText(QStringLiteral("electron"));
        window.START()->setText(QStringLiteral("3,0"));
        QVERIFY(!window.TRACK(false));
        QVERIFY(window.MESSAGE()->text().contains(QStringLiteral("outside the map's transverse region")));
        QCOMPARE(window.DOCUMENT(), first);

        window.ENERGY()->setText(QStringLiteral("1"));
        window.FREQUENCY()->setText(QStringLiteral("1300"));
        window.PHASE()->setText(QStringLiteral("10"));
        window.START()->setText(QStringLiteral("0.3,0"));
        window.SLOPE()->setText(QStringLiteral("0,1"));
        QVERIFY(window.TRACK(false));
        QProcess run;
        run.setWorkingDirectory(dir.path());
        run.start(QStringLiteral(ORVEX_PROGRAM),
                  {QStringLiteral("--track"), QStringLiteral("--energy"), QStringLiteral("1"), QStringLiteral("--particle"),
                   QStringLiteral("electron"), QStringLiteral("--frequency"), QStringLiteral("1300"), QStringLiteral("--phase"),
                   QStringLiteral("10"), QStringLiteral("--start"), QStringLiteral("0.3,0"), QStringLiteral("--slope"),
                   QStringLiteral("0,1"), QStringLiteral("--matrix")});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(QByteArray::fromStdString(window.DOCUMENT()), run.readAllStandardOutput());
        QVERIFY(window.MATRIX()->item(0, 0)->text() != QStringLiteral("-"));

        window.SCAN()->setText(QStringLiteral("12"));
        QVERIFY(window.TRACK(true));
        const nlohmann::json doc = nlohmann::json::parse(window.DOCUMENT());
        QCOMPARE(doc["tracks"].size(), std::size_t{12});
        const QList<QAbstractSeries*> scan = window.SCAN_CHART()->series();
        QCOMPARE(scan.size(), 2);  // the gains and the crest
        const QPointF crest = static_cast<QXYSeries*>(scan[1])->points().value(0);
        QCOMPARE(crest.x(), doc["crest"]["phase_deg"].get<double>());
        QCOMPARE(window.PATH_CHART()->series().size(), 2);

        const QString path = dir.filePath(QStringLiteral("trajectory.csv"));
        QString why;
        QVERIFY2(window.EXPORT_TRAJECTORY(path, &why), qPrintable(why));
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().trimmed().split('\n');
        QCOMPARE(lines.front(), QByteArray("z,x,y,xp,yp,W,t"));
        const QList<QByteArray> last = lines.back().split(',');
        QCOMPARE(last.size(), 7);
        QCOMPARE(last[0].toDouble(), 10.0);  // the last z plane
        QCOMPARE(last[5].toDouble(), doc["crest"]["exit"]["W_MeV"].get<double>());
    }
};

QTEST_MAIN(track_window_test)
#include "track_window_test.moc"
