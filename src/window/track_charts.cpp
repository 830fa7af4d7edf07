// track_charts.cpp: the charts and the matrix of the tracking window; see track_window.h.
#include <QLabel>
#include <QTableWidget>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

#include "beam/tracking_run.h"
#include "window/track_window.h"

namespace orvex {

namespace {

// Replaces the chart's series by these, on two value axes that hold them all.
void SHOW_SERIES(QChart* chart, const QList<QXYSeries*>& series) {
    chart->removeAllSeries();
    QValueAxis* x = static_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    QValueAxis* y = static_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    double x_lo = INFINITY, x_hi = -INFINITY, y_lo = INFINITY, y_hi = -INFINITY;
    for (QXYSeries* s : series) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
        for (const QPointF& p : s->points()) {
            x_lo = std::min(x_lo, p.x()), x_hi = std::max(x_hi, p.x());
            y_lo = std::min(y_lo, p.y()), y_hi = std::max(y_hi, p.y());
        }
    }
    if (!(x_lo <= x_hi)) x_lo = 0.0, x_hi = 1.0, y_lo = 0.0, y_hi = 1.0;
    // A flat curve gets a little room (a curve flat at 0, as x(z) of a particle on the axis, the
    // room of -1 to 1); every curve a margin of 5 %.
    const double y_room = y_hi > y_lo ? 0.05 * (y_hi - y_lo) : y_hi != 0.0 ? 0.05 * std::fabs(y_hi) : 1.0;
    x->setRange(x_lo, x_hi > x_lo ? x_hi : x_lo + 1.0);
    y->setRange(y_lo - y_room, y_hi + y_room);
    chart->legend()->setVisible(series.size() > 1);
}

QLineSeries* LINE(const QString& name) {
    auto* s = new QLineSeries;
    s->setName(name);
    return s;
}

}  // namespace

QChart* NEW_TRACK_CHART(const QString& title, const QString& x_title, const QString& y_title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    x->setTitleText(x_title);
    y->setTitleText(y_title);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    return chart;
}

void FILL_TRACK_CHARTS(const tracking_outcome& o, QChart* scan, QChart* path, QChart* energy) {
    QList<QXYSeries*> gains;
    if (o.scan) {
        QLineSeries* g = LINE(QStringLiteral("gain"));
        for (std::size_t k = 0; k < o.tracks.size(); ++k)
            if (o.tracks[k].loss == track_loss::none) g->append(o.phases_deg[k], o.tracks[k].gain_mev);
        gains.append(g);
        if (o.crest) {
            auto* c = new QScatterSeries;
            c->setName(QStringLiteral("crest"));
            c->setMarkerSize(10.0);
            c->append(o.crest->phase_deg, o.crest->track.gain_mev);
            gains.append(c);
        }
    }
    SHOW_SERIES(scan, gains);
    scan->setTitle(o.scan ? QStringLiteral("Gain against phase (%1 phases)").arg(*o.scan)
                          : QStringLiteral("Gain against phase (Scan Phases)"));

    QLineSeries* x = LINE(QStringLiteral("x"));
    QLineSeries* y = LINE(QStringLiteral("y"));
    QLineSeries* w = LINE(QStringLiteral("W"));
    for (const track_point& p : o.trajectory) {
        x->append(p.z, p.x);
        y->append(p.z, p.y);
        w->append(p.z, p.w);
    }
    SHOW_SERIES(path, {x, y});
    SHOW_SERIES(energy, {w});
}

void FILL_TRACK_MATRIX(const tracking_outcome& o, QTableWidget* table, QLabel* focal) {
    // Seven digits in the cell, all seventeen in its tip (and in the document).
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            auto* item = new QTableWidgetItem(QStringLiteral("-"));
            if (o.matrix) {
                const double v = o.matrix->r[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
                item->setText(QString::number(v, 'g', 7));
                item->setToolTip(QString::number(v, 'g', 17));
            }
            table->setItem(i, j, item);
        }
    if (!o.matrix) {
        focal->setText(QStringLiteral("No matrix: the particle or an offset ray is lost."));
        return;
    }
    const auto length = [](const std::optional<double>& f) {
        return f ? QStringLiteral("%1 m").arg(*f, 0, 'g', 10) : QStringLiteral("none (no focusing)");
    };
    focal->setText(QStringLiteral("Focal lengths -1/R21: %1, -1/R43: %2").arg(length(o.matrix->focal_x_m), length(o.matrix->focal_y_m)));
}

}  // namespace orvex
