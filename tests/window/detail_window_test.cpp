// detail_window_test.cpp: detail windows of an analytic page driven in a real window system:
// the plotted points, the other components, zoom and reset, Esc, closing with the page's
// window, the export through the file dialog, tick labels of a narrow ripple.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest/QtTest>

#include <cmath>
#include <fstream>

#include "console/console.h"
#include "field/analytic_grid.h"
#include "field/unfold.h"
#include "page/plot_driver.h"
#include "page/csv_loaders.h"
#include "page/profiles_csv.h"
#include "window/detail_window.h"

using namespace orvex;

namespace {

QChart* CHART(QWidget* w) { return w->findChild<QChartView*>()->chart(); }

// The points of a component's line runs (the legend names its first series only); runs counted.
QList<QPointF> LINE_POINTS(QWidget* w, const QString& name, int* runs = nullptr) {
    QList<QPointF> out;
    bool mine = false;
    for (QAbstractSeries* s : CHART(w)->series()) {
        mine = s->type() == QAbstractSeries::SeriesTypeLine && (s->name().isEmpty() ? mine : s->name() == name);
        if (!mine) continue;
        out += static_cast<QLineSeries*>(s)->points();
        if (runs != nullptr) ++*runs;
    }
    return out;
}

QList<QPointF> PROFILE_POINTS(const plotted_panel& p) {
    QList<QPointF> out;
    for (int i = 0; i < p.n; ++i) {
        if (std::isfinite(p.pos[i]) && std::isfinite(p.val[i])) out.append(QPointF(p.pos[i], p.val[i]));
    }
    return out;
}

QAction* ACTION(QWidget* w, const QString& text) {
    for (QAction* a : w->findChildren<QAction*>()) {
        if (a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0) == text) return a;
    }
    return nullptr;
}

std::pair<double, double> RANGE(QWidget* w, Qt::Orientation o) {
    const auto* axis = static_cast<QValueAxis*>(CHART(w)->axes(o).constFirst());
    return {axis->min(), axis->max()};
}

std::string READ_FILE(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// Answers the next modal dialog, once it is up: types a name into a file dialog, or presses a
// message box's button (after the file dialog when one is given).
void ANSWER_LATER(const QString& name, QMessageBox::StandardButton button = QMessageBox::NoButton, int tries = 500) {
    QTimer::singleShot(20, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool waiting_for_dialog = button == QMessageBox::Cancel && qobject_cast<QFileDialog*>(modal) == nullptr;
        if (modal == nullptr || modal->windowHandle() == nullptr || !modal->windowHandle()->isExposed() || waiting_for_dialog) {
            if (tries > 0) ANSWER_LATER(name, button, tries - 1);
        } else if (auto* files = qobject_cast<QFileDialog*>(modal); files != nullptr && button == QMessageBox::Cancel) {
            files->reject();
        } else if (files != nullptr) {
            auto* edit = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name.isEmpty()) edit->setText(name);  // as typed, without waking the completer; "" keeps the name offered
            QTest::keyClick(edit, Qt::Key_Return);
            if (button != QMessageBox::NoButton) ANSWER_LATER(name, button);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->button(button)->click();
            // After No the file dialog comes back, with the name typed: cancelled here.
            if (button == QMessageBox::No) ANSWER_LATER(QString(), QMessageBox::Cancel);
        }
    });
}

}  // namespace

class detail_window_test : public QObject {
    Q_OBJECT
    const plotted_page* page = nullptr;

private slots:
    void initTestCase() {
        testing::LOAD_ANALYTIC(testing::MAP(2, 1, 1, 1));
        UNFOLD_GRID();
        SET_CONSOLE_QUIET(true);
        PLOT_PROFILES(field_grid.full, 0, "MW_octant.bin", page_listing::printed);
        page = &PLOTTED_PAGE();
    }

    void showsTheProfileAndOtherComponentsOnRequest() {
        QPointer<QWidget> w = OPEN_DETAIL_WINDOW(*page, 9, nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->windowTitle(), QString::fromUtf8("Ez (V/cm) \u2014 Z (cm), X=Y=0"));
        QCOMPARE(LINE_POINTS(w, "Ez"), PROFILE_POINTS(page->panels[8]));
        QVERIFY(LINE_POINTS(w, "Ex").isEmpty());
        ACTION(w, "Ex")->trigger();
        QCOMPARE(w->windowTitle(), QString::fromUtf8("Ex, Ez (V/cm) \u2014 Z (cm), X=Y=0"));
        QCOMPARE(LINE_POINTS(w, "Ex"), PROFILE_POINTS(page->panels[6]));
        const auto [lo, hi] = RANGE(w, Qt::Vertical);
        for (const plotted_panel& p : {page->panels[6], page->panels[8]}) {
            for (int i = 0; i < p.n; ++i) QVERIFY(p.val[i] >= lo && p.val[i] <= hi);
        }
        w->close();
    }

    void zoomedByRubberBandAndResetByEachKey() {
        QPointer<QWidget> w = OPEN_DETAIL_WINDOW(*page, 8, nullptr);
        QVERIFY(QTest::qWaitForWindowActive(w));  // its shortcuts work in the active window
        QWidget* viewport = w->findChild<QChartView*>()->viewport();
        const auto whole_x = RANGE(w, Qt::Horizontal), whole_y = RANGE(w, Qt::Vertical);
        const QRect plot = CHART(w)->plotArea().toRect();
        for (const QKeySequence& key : {QKeySequence(Qt::Key_R), QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_0)}) {
            QTest::mousePress(viewport, Qt::LeftButton, {}, plot.center() - QPoint(100, 80));
            QTest::mouseMove(viewport, plot.center());
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, plot.center() + QPoint(60, 40));
            const auto x = RANGE(w, Qt::Horizontal);
            QVERIFY2(x.first > whole_x.first && x.second < whole_x.second, qPrintable(key.toString()));
            QTest::keySequence(w, key);
            QCOMPARE(RANGE(w, Qt::Horizontal), whole_x);
            QCOMPARE(RANGE(w, Qt::Vertical), whole_y);
        }
        w->close();
    }

    // Esc closes the detail window only, although the page's window closes on Esc anywhere.
    void escapeClosesTheDetailWindowAloneAndItClosesWithItsOwner() {
        QMainWindow owner;
        int owner_closes = 0;
        QAction* close_all = owner.addAction(QStringLiteral("Close"));
        close_all->setShortcut(Qt::Key_Escape);
        close_all->setShortcutContext(Qt::ApplicationShortcut);
        connect(close_all, &QAction::triggered, [&] { ++owner_closes; });
        owner.show();
        QPointer<QWidget> w = OPEN_DETAIL_WINDOW(*page, 1, &owner);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w->focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(w.isNull());
        QCOMPARE(owner_closes, 0);
        QVERIFY(owner.isVisible());
        w = OPEN_DETAIL_WINDOW(*page, 2, &owner);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        owner.close();
        QTRY_VERIFY(w.isNull());
    }

    void exportsTheShownComponentsThroughTheDialog() {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QPointer<QWidget> w = OPEN_DETAIL_WINDOW(*page, 9, nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        ACTION(w, "Ex")->trigger();
        const std::array<int, 2> panels = {7, 9};
        const std::string expected = PROFILES_CSV(*page, panels);
        ANSWER_LATER(QStringLiteral("mine"));  // ".csv" is added
        ACTION(w, "Export Profile...")->trigger();
        QCOMPARE(READ_FILE(dir.filePath("mine.csv")), expected);
        // An existing file: asked first, kept on No, replaced on Yes.
        std::ofstream(dir.filePath("mine.csv").toStdString()) << "old\n";
        ANSWER_LATER(QStringLiteral("mine"), QMessageBox::No);
        ACTION(w, "Export Profile...")->trigger();
        QCOMPARE(READ_FILE(dir.filePath("mine.csv")), std::string("old\n"));
        ANSWER_LATER(QStringLiteral("mine"), QMessageBox::Yes);
        ACTION(w, "Export Profile...")->trigger();
        QCOMPARE(READ_FILE(dir.filePath("mine.csv")), expected);
        // The name offered is that of the components shown, and numpy and pandas load the file.
        ANSWER_LATER(QString());
        ACTION(w, "Export Profile...")->trigger();
        QCOMPARE(READ_FILE(dir.filePath("Ex_Ez_line3.csv")), expected);
        const testing_support::csv_loads loads = testing_support::LOAD_CSV_IN_PYTHON(dir.filePath("mine.csv").toStdString());
        w->close();
        QDir::setCurrent(previous);
        if (loads.python_missing) QSKIP("Debian's python3 with numpy and pandas is not installed");
        QCOMPARE(loads.failure, std::string());
        for (const testing_support::csv_table* table : {&loads.numpy, &loads.pandas}) {
            QCOMPARE(table->names, (std::vector<std::string>{"line", "component", "node", "x", "y", "z", "position", "value"}));
            QCOMPARE(table->columns.at("component").size(), std::size_t(page->panels[6].n + page->panels[8].n));
            QCOMPARE(table->columns.at("component").front(), std::string("Ex"));
            QCOMPARE(table->columns.at("component").back(), std::string("Ez"));
        }
    }

    // A 0.2% ripple around -4.37E4 with a NaN: distinct tick labels, the curve broken at the NaN.
    void aNarrowRippleGetsDistinctLabelsAndANaNBreaksTheCurve() {
        std::vector<double> pos, val;
        for (int i = 0; i <= 100; ++i) {
            pos.push_back(-5.0 + 0.1 * i);
            val.push_back(i == 50 ? std::nan("") : -4.37e4 * (1.0 + 0.001 * std::sin(0.2 * i)));
        }
        plotted_page ripple = *page;
        plotted_panel& p = ripple.panels[8];
        p.n = 101, p.pos = pos.data(), p.val = val.data();
        QPointer<QWidget> w = OPEN_DETAIL_WINDOW(ripple, 9, nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        int runs = 0;
        QCOMPARE(LINE_POINTS(w, "Ez", &runs), PROFILE_POINTS(p));
        QCOMPARE(runs, 2);
        // One label a tick, each reading as its tick's value: distinct (a category axis keeps
        // one category a label), and the ends of the range read apart too.
        auto* axis = static_cast<QCategoryAxis*>(CHART(w)->axes(Qt::Vertical).constFirst());
        const auto [lo, hi] = RANGE(w, Qt::Vertical);
        const detail_ticks t = DETAIL_AXIS_TICKS(lo, hi);
        const QStringList labels = axis->categoriesLabels();
        QVERIFY2(labels.size() >= 4 && labels.size() == static_cast<qsizetype>(t.at.size()), qPrintable(labels.join(' ')));
        for (const QString& label : labels) QCOMPARE(label.toDouble(), axis->endValue(label));
        QVERIFY(DETAIL_TICK_LABEL(t, lo) != DETAIL_TICK_LABEL(t, hi));
        w->close();

        p.n = 0;
        w = OPEN_DETAIL_WINDOW(ripple, 9, nullptr);
        QVERIFY(w->findChild<QChartView*>() == nullptr);
        QVERIFY(w->findChild<QLabel*>()->text().contains("nothing to show"));
        w->close();
    }
};

QTEST_MAIN(detail_window_test)
#include "detail_window_test.moc"
