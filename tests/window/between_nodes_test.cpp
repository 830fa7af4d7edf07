// between_nodes_test.cpp: the field between the nodes in the window, driven as a user drives
// it, on a quadrupole's map (Bx = G y, By = G x, Ex = Ge x, Ey = -Ge y: linear, so both rules
// give it exactly): View > Line Through Node's "Any segment" (the profile against s, its
// caption, its export) and the slice window's value at the pointer.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <cmath>

#include "field/analytic_grid.h"
#include "field/unfold.h"
#include "window/slice_view.h"
#include "window/slice_window.h"

using namespace orvex;

namespace {

constexpr double g = 500.0;

void LOAD_QUADRUPOLE() {
    mapgen::map_recipe m = testing::MAP(2, 1, 1, 0);
    m.model = mapgen::field_model::quadrupole;
    testing::LOAD_ANALYTIC(m);
    UNFOLD_GRID();
}

// Fills the dialog's segment once it is up, with linear and the second component, and accepts.
void ASK_SEGMENT_LATER(const std::array<double, 6>& ends, int samples) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        auto* samples_box = dialog->findChild<QSpinBox*>(QStringLiteral("segment_samples"));
        dialog->findChildren<QRadioButton*>().at(2)->click();
        QVERIFY(samples_box->isEnabled());
        for (int e = 0; e < 6; ++e)
            dialog->findChild<QDoubleSpinBox*>(QStringLiteral("segment_%1%2").arg(QLatin1Char('x' + e % 3)).arg(e / 3))->setValue(ends[e]);
        samples_box->setValue(samples);
        dialog->findChild<QComboBox*>(QStringLiteral("segment_rule"))->setCurrentText(QStringLiteral("linear"));
        for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
            if (box->findText(QStringLiteral("By")) >= 0) box->setCurrentText(QStringLiteral("By"));
            if (box->findText(QStringLiteral("along z")) >= 0) QVERIFY(!box->isEnabled());  // no axis for a segment
        }
        dialog->accept();
    });
}

QLineSeries* CURVE(QWidget* w) { return qobject_cast<QLineSeries*>(w->findChild<QChartView*>()->chart()->series().value(0)); }

}  // namespace

class between_nodes_test : public QObject {
    Q_OBJECT

private slots:
    void anySegmentIsInterpolatedCaptionedAndExported() {
        LOAD_QUADRUPOLE();
        const full_map& m = field_grid.full;
        QMainWindow owner;
        ASK_SEGMENT_LATER({-1.5, 0.5, -40.0, 1.25, -1.0, 30.0}, 12);
        auto* line = qobject_cast<QMainWindow*>(ASK_NODE_LINE(m, 1, "MW_quad.txt", &owner));
        QVERIFY(line != nullptr);
        QCOMPARE(line->windowTitle(), QStringLiteral("By (Gs) \u2014 s (cm) from (-1.5, 0.5, -40) to (1.25, -1, 30) cm, linear"));
        const double length = std::sqrt(2.75 * 2.75 + 1.5 * 1.5 + 70.0 * 70.0);
        QLineSeries* curve = CURVE(line);
        QCOMPARE(curve->count(), 12);
        for (int k = 0; k < 12; ++k) {
            const double x = -1.5 + 2.75 * k / 11.0;
            QVERIFY(std::fabs(curve->at(k).x() - length * k / 11.0) < 1e-12 * length);
            QVERIFY2(std::fabs(curve->at(k).y() - g * x) < 1e-12 * g, qPrintable(QString::number(k)));
        }

        // The export: the profiles' columns with s for the position, each sample's point.
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());  // where the file dialog opens
        QTimer::singleShot(50, [] {
            auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(files != nullptr);
            auto* edit = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            edit->setText(QStringLiteral("segment.csv"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        for (QAction* a : line->findChildren<QAction*>())
            if (a->text().contains(QStringLiteral("Export Profile"))) a->trigger();
        QDir::setCurrent(previous);
        QFile file(dir.filePath(QStringLiteral("segment.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), QStringLiteral("line,component,node,x,y,z,s,value"));
        const QStringList last = lines.last().split(QLatin1Char(','));  // the last sample: the second point
        QCOMPARE(last.mid(0, 6), (QStringList{"0", "By", "12", "1.25", "-1", "30"}));
        QCOMPARE(last[6].toDouble(), length);

    }

    // The status bar reads the node and, after it, the cubic value at the pointer's exact place:
    // the quadrupole there, not the node's value; beyond the last node no value.
    void slicePointerReadsTheValueBetweenTheNodes() {
        LOAD_QUADRUPOLE();
        const full_map& m = field_grid.full;
        slice_window window(&m, 1, "MW_quad.txt", nullptr);
        window.resize(1400, 760);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        slice_view* view = window.VIEW();
        for (const slice_quantity q : {slice_quantity::x, slice_quantity::magnitude}) {
            window.SET_CUT({slice_plane::xy, 201, q, 1});
            const QPointF a = view->CELL_CENTRE(30, 18), b = view->CELL_CENTRE(31, 19);
            const QPointF at(a.x() + 0.3 * (b.x() - a.x()), a.y() + 0.45 * (b.y() - a.y()));
            QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(view, &move);
            point3 p{};
            QVERIFY(view->POINT_AT(at, p));
            QVERIFY(std::fabs(p[0] - m.x[29]) > 0.2 * m.dx && std::fabs(p[1] - m.y[17]) > 0.3 * m.dy);
            const QString message = window.statusBar()->currentMessage();
            const QString name = q == slice_quantity::x ? QStringLiteral("Bx") : QStringLiteral("|B|");
            const qsizetype cut = message.indexOf(QStringLiteral(" | cubic: ") + name + QStringLiteral(" = "));
            QVERIFY2(cut > 0 && message.left(cut) == view->READOUT(30, 18), qPrintable(message));
            const double read = message.mid(cut).section(QLatin1Char(' '), 5, 5).toDouble();
            const double expected = q == slice_quantity::x ? g * p[1] : g * std::hypot(p[0], p[1]);
            QVERIFY2(std::fabs(read - expected) < 1e-13 * g * 3.0, qPrintable(message));
        }
        // Half a cell beyond the last x node: the cell reads, the place has no value.
        const QPointF last = view->CELL_CENTRE(49, 10), before = view->CELL_CENTRE(48, 10);
        const QPointF beyond(last.x() + 0.3 * (last.x() - before.x()), last.y());
        QMouseEvent out(QEvent::MouseMove, beyond, view->mapToGlobal(beyond), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view, &out);
        QVERIFY2(window.statusBar()->currentMessage().contains(QStringLiteral("| cubic: no value outside the nodes at (2.0")),
                 qPrintable(window.statusBar()->currentMessage()));
    }
};

QTEST_MAIN(between_nodes_test)
#include "between_nodes_test.moc"
