// detail_chart.cpp: the series and axes of a detail window, and the node under the pointer.
// Where the ticks of an axis fall and how they are labelled is detail_ticks.cpp.
#include "window/detail_chart.h"

#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "window/detail_window.h"

namespace orvex {

namespace {

// Ticks and labels of one axis for its current range: one category per tick, ending on it.
void SET_TICKS(QCategoryAxis* axis, double lo, double hi) {
    for (const QString& label : axis->categoriesLabels()) axis->remove(label);
    const detail_ticks t = DETAIL_AXIS_TICKS(lo, hi);
    if (t.at.empty()) return;
    axis->setStartValue(t.at.size() > 1 ? t.at.front() - t.step : lo - 1.0);
    for (const double tick : t.at) axis->append(QString::asprintf(t.format.c_str(), tick), tick);
}

bool FINITE(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

// lo..hi widened by a fraction of the span each side; a point or an empty range gets a width
// of its own.
std::pair<double, double> PADDED(double lo, double hi, double fraction) {
    if (lo > hi) return {-1.0, 1.0};
    const double size = std::max(std::fabs(lo), std::fabs(hi));
    if (hi / 2 - lo / 2 <= size * 5e-13) {
        const double centre = lo / 2 + hi / 2;
        const double half = size > 0 ? size * 0.01 : 1.0;
        return {centre - half, centre + half};
    }
    const double margin = (hi / 2 - lo / 2) * 2 * fraction;
    return {lo - margin, hi + margin};
}

// The chart's title: the components shown, the line and its fixed nodes (i, j, k index x, y, z).
QString CHART_TITLE(const detail_line& line, const detail_chart& shown) {
    const plotted_panel& own = line.page.panels[static_cast<std::size_t>(line.panel - 1)];
    QStringList fixed;
    for (std::size_t f = 0; f < 2 && own.fixed_names[f] != 0; ++f) {  // a line with no fixed nodes names none
        fixed << QStringLiteral("%1 = %2 (%3 = %4 cm)")
                     .arg(QLatin1Char(own.fixed_names[f]))
                     .arg(own.fixed_index[f])
                     .arg(QLatin1Char(static_cast<char>('x' + (own.fixed_names[f] - 'i'))))
                     .arg(QString::asprintf("%.6g", own.fixed_coordinate[f]));
    }
    return QStringLiteral("%1 %2 %3%4")
        .arg(SHOWN_COMPONENT_NAMES(line, shown).join(QStringLiteral(", ")))
        .arg(line.through_node ? QString() : QStringLiteral("along"))
        .arg(LINE_WORDS(line))
        .arg(fixed.isEmpty() ? QString() : QStringLiteral(", fixed nodes ") + fixed.join(", "))
        .simplified();
}

// The component's runs of finite points as lines and every finite node as a marker, in its
// colour; only the first series is named, so the legend names the component once.
void ADD_SERIES(const detail_line& line, detail_chart& shown, int component) {
    std::vector<QXYSeries*>& series = shown.series[static_cast<std::size_t>(component - 1)];
    const plotted_panel& p = line.page.panels[static_cast<std::size_t>(3 * line.line - 4 + component)];
    const QColor colour = shown.colours[static_cast<std::size_t>(component - 1)];
    auto* markers = new QScatterSeries;
    markers->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    markers->setMarkerSize(4.0);
    markers->setColor(colour);
    markers->setBorderColor(colour);
    QLineSeries* run = nullptr;
    for (int i = 0; i < p.n; ++i) {
        if (!FINITE(p.pos[i], p.val[i])) {
            run = nullptr;  // the curve breaks here
            continue;
        }
        if (run == nullptr) {
            run = new QLineSeries;
            run->setPen(QPen(colour, 1.5));
            series.push_back(run);
        }
        run->append(p.pos[i], p.val[i]);
        markers->append(p.pos[i], p.val[i]);
    }
    series.push_back(markers);
    series.front()->setName(TRIMMED_TEXT(p.component_name));
    for (QXYSeries* s : series) {
        shown.chart->addSeries(s);
        s->attachAxis(shown.x_axis);
        s->attachAxis(shown.y_axis);
        if (s != series.front()) {
            for (QLegendMarker* m : shown.chart->legend()->markers(s)) m->setVisible(false);
        }
    }
}

}  // namespace

QString TRIMMED_TEXT(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    text = last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString LINE_WORDS(const detail_line& line) {
    if (!line.through_node) return QStringLiteral("line %1").arg(line.line);
    return QStringLiteral("along %1").arg(QLatin1Char(line.page.panels[static_cast<std::size_t>(line.panel - 1)].axis));
}

void COPY_LINE(const plotted_page& page, int panel, detail_line& into) {
    into.panel = panel;
    into.line = (panel + 2) / 3;
    into.own = (panel - 1) % 3 + 1;
    into.map_file = std::string(page.map_file);
    into.page = plotted_page{};
    into.page.map_file = into.map_file;
    into.axis_title = std::string(page.panels[static_cast<std::size_t>(panel - 1)].axis_title);
    into.through_node = page.panels[static_cast<std::size_t>(panel - 1)].line == 0;
    into.page.field = page.field;
    for (int c = 0; c < 3; ++c) {
        const auto slot = static_cast<std::size_t>(3 * into.line - 3 + c);
        const plotted_panel& from = page.panels[slot];
        const auto n = static_cast<std::size_t>(std::max(from.n, 0));
        into.pos[c].assign(from.pos, from.pos + (from.pos != nullptr ? n : 0));
        into.val[c].assign(from.val, from.val + (from.val != nullptr ? n : 0));
        plotted_panel& to = into.page.panels[slot];
        to = from;
        to.panel = static_cast<std::int32_t>(slot + 1);
        to.line = into.through_node ? 0 : into.line;
        to.component = c + 1;
        to.n = static_cast<std::int32_t>(std::min(into.pos[c].size(), into.val[c].size()));
        to.pos = into.pos[c].data();
        to.val = into.val[c].data();
        to.axis_title = into.axis_title;
    }
}

bool COMPONENT_SHOWN(const detail_chart& shown, int component) {
    return shown.shown[static_cast<std::size_t>(component - 1)];
}

void SHOW_COMPONENT(const detail_line& line, detail_chart& shown, int component, bool on) {
    shown.shown[static_cast<std::size_t>(component - 1)] = on;
    for (std::vector<QXYSeries*>& series : shown.series) {
        for (QXYSeries* s : series) {
            shown.chart->removeSeries(s);
            delete s;
        }
        series.clear();
    }
    for (int c = 1; c <= 3; ++c) {
        if (shown.shown[static_cast<std::size_t>(c - 1)]) ADD_SERIES(line, shown, c);
    }
    shown.y_axis->setTitleText(SHOWN_VALUE_TITLE(line, shown));
    shown.chart->setTitle(CHART_TITLE(line, shown));
}

QStringList SHOWN_COMPONENT_NAMES(const detail_line& line, const detail_chart& shown) {
    QStringList names;
    for (int c = 1; c <= 3; ++c) {
        if (COMPONENT_SHOWN(shown, c)) names << TRIMMED_TEXT(line.page.panels[static_cast<std::size_t>(3 * line.line - 4 + c)].component_name);
    }
    return names;
}

QString SHOWN_VALUE_TITLE(const detail_line& line, const detail_chart& shown) {
    const QString unit = TRIMMED_TEXT(line.page.panels[static_cast<std::size_t>(line.panel - 1)].unit);
    return SHOWN_COMPONENT_NAMES(line, shown).join(QStringLiteral(", ")) + QStringLiteral(" (") + unit + QLatin1Char(')');
}

void RESET_DETAIL_RANGES(const detail_line& line, detail_chart& shown) {
    double x_lo = HUGE_VAL, x_hi = -HUGE_VAL, y_lo = HUGE_VAL, y_hi = -HUGE_VAL;
    for (int c = 1; c <= 3; ++c) {
        if (!COMPONENT_SHOWN(shown, c)) continue;
        const plotted_panel& p = line.page.panels[static_cast<std::size_t>(3 * line.line - 4 + c)];
        for (int i = 0; i < p.n; ++i) {
            if (!FINITE(p.pos[i], p.val[i])) continue;
            x_lo = std::min(x_lo, p.pos[i]);
            x_hi = std::max(x_hi, p.pos[i]);
            y_lo = std::min(y_lo, p.val[i]);
            y_hi = std::max(y_hi, p.val[i]);
        }
    }
    const auto [x1, x2] = PADDED(x_lo, x_hi, 0.01);
    const auto [y1, y2] = PADDED(y_lo, y_hi, 0.05);
    shown.x_axis->setRange(x1, x2);
    shown.y_axis->setRange(y1, y2);
    // An unchanged range emits nothing; the ticks are placed either way.
    SET_TICKS(shown.x_axis, x1, x2);
    SET_TICKS(shown.y_axis, y1, y2);
}

QChartView* BUILD_DETAIL_CHART(const detail_line& line, detail_chart& shown) {
    const plotted_panel& own = line.page.panels[static_cast<std::size_t>(line.panel - 1)];
    shown.chart = new QChart;
    shown.chart->legend()->setAlignment(Qt::AlignTop);
    shown.x_axis = new QCategoryAxis;
    shown.y_axis = new QCategoryAxis;
    shown.x_axis->setTitleText(TRIMMED_TEXT(own.axis_title));
    for (QCategoryAxis* axis : {shown.x_axis, shown.y_axis}) {
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        QObject::connect(axis, &QValueAxis::rangeChanged, axis, [axis](qreal lo, qreal hi) { SET_TICKS(axis, lo, hi); });
    }
    shown.chart->addAxis(shown.x_axis, Qt::AlignBottom);
    shown.chart->addAxis(shown.y_axis, Qt::AlignLeft);
    // The panel's own component in the page's red; the other two in blue and green.
    const std::array<QColor, 2> others = {QColor(0, 90, 200), QColor(0, 140, 60)};
    for (int c = 1, next = 0; c <= 3; ++c) {
        shown.colours[static_cast<std::size_t>(c - 1)] = c == line.own ? QColor(220, 0, 0) : others[static_cast<std::size_t>(next++)];
    }
    SHOW_COMPONENT(line, shown, line.own, true);
    RESET_DETAIL_RANGES(line, shown);
    shown.view = new QChartView(shown.chart);
    shown.view->setRenderHint(QPainter::Antialiasing);
    shown.view->setRubberBand(QChartView::RectangleRubberBand);
    shown.view->setMouseTracking(true);
    return shown.view;
}

QString NODE_TIP(const detail_line& line, const detail_chart& shown, QPoint in_view) {
    const QPointF at = shown.chart->mapFromScene(shown.view->mapToScene(in_view));
    constexpr double reach = 8.0;  // pixels
    double best = reach * reach;
    int best_component = 0, best_node = 0;
    for (int c = 1; c <= 3; ++c) {
        if (!COMPONENT_SHOWN(shown, c)) continue;
        const plotted_panel& p = line.page.panels[static_cast<std::size_t>(3 * line.line - 4 + c)];
        QXYSeries* markers = shown.series[static_cast<std::size_t>(c - 1)].back();
        for (int i = 0; i < p.n; ++i) {
            if (!FINITE(p.pos[i], p.val[i])) continue;
            const QPointF node = shown.chart->mapToPosition(QPointF(p.pos[i], p.val[i]), markers);
            if (!shown.chart->plotArea().contains(node)) continue;
            const double d = (node.x() - at.x()) * (node.x() - at.x()) + (node.y() - at.y()) * (node.y() - at.y());
            if (d < best) {
                best = d;
                best_component = c;
                best_node = i + 1;
            }
        }
    }
    if (best_component == 0) return {};
    const plotted_panel& p = line.page.panels[static_cast<std::size_t>(3 * line.line - 4 + best_component)];
    const QString name = TRIMMED_TEXT(p.component_name);
    return QStringLiteral("%1, %2, node %3 of %4\n%5 = %6 cm\n%1 = %7 %8")
        .arg(name)
        .arg(LINE_WORDS(line))
        .arg(best_node)
        .arg(p.n)
        .arg(QLatin1Char(p.axis))
        .arg(QString::asprintf("%.15g", p.pos[best_node - 1]))
        .arg(QString::asprintf("%.15g", p.val[best_node - 1]))
        .arg(TRIMMED_TEXT(p.unit));
}

}  // namespace orvex
