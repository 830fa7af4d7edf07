// detail_compare.cpp: another map's profile in a detail window: read along the line's own
// nodes (field/compare.h), drawn dashed in a second colour over each component shown, named in
// the legend by its file, and read in the tip.
#include <QPen>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>

#include <cmath>

#include "console/number_text.h"
#include "field/compare.h"
#include "window/detail_chart.h"

namespace orvex {

void COPY_OTHER_LINE(const map_pairing* compared, detail_line& into) {
    into.compared = false;
    for (std::vector<double>& v : into.other_val) v.clear();
    const plotted_panel& own = into.page.panels[static_cast<std::size_t>(into.panel - 1)];
    if (compared == nullptr || own.n <= 0 || into.page.field == nullptr) return;
    // The line's node: its two fixed indices, named i, j or k.
    grid_node through{1, 1, 1};
    for (std::size_t f = 0; f < 2; ++f) {
        const int index = own.fixed_index[f];
        (own.fixed_names[f] == 'i' ? through.i : own.fixed_names[f] == 'j' ? through.j : through.k) = index;
    }
    OTHER_ALONG_LINE(*compared, into.page.field->flag, own.axis, through, into.other_val);
    for (std::vector<double>& v : into.other_val) v.resize(static_cast<std::size_t>(own.n), std::nan(""));
    into.compared = true;
    into.other_file = compared->other_file;
}

void ADD_OTHER_SERIES(const detail_line& line, detail_chart& shown, int component) {
    const auto slot = static_cast<std::size_t>(component - 1);
    std::vector<QXYSeries*>& series = shown.other_series[slot];
    const plotted_panel& p = line.page.panels[static_cast<std::size_t>(3 * line.line - 4 + component)];
    const std::vector<double>& values = line.other_val[slot];
    const QColor colour = shown.other_colours[slot];
    auto* markers = new QScatterSeries;
    markers->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    markers->setMarkerSize(4.0);
    markers->setColor(colour);
    markers->setBorderColor(colour);
    QLineSeries* run = nullptr;
    for (int i = 0; i < p.n && static_cast<std::size_t>(i) < values.size(); ++i) {
        const double v = values[static_cast<std::size_t>(i)];
        if (!std::isfinite(p.pos[i]) || !std::isfinite(v)) {
            run = nullptr;  // beyond the other's region the curve breaks
            continue;
        }
        if (run == nullptr) {
            run = new QLineSeries;
            run->setPen(QPen(colour, 1.5, Qt::DashLine));
            series.push_back(run);
        }
        run->append(p.pos[i], v);
        markers->append(p.pos[i], v);
    }
    series.push_back(markers);
    series.front()->setName(TRIMMED_TEXT(p.component_name) + QStringLiteral(": ") + QString::fromStdString(line.other_file));
    for (QXYSeries* s : series) {
        shown.chart->addSeries(s);
        s->attachAxis(shown.x_axis);
        s->attachAxis(shown.y_axis);
        if (s != series.front())
            for (QLegendMarker* m : shown.chart->legend()->markers(s)) m->setVisible(false);
    }
}

QString OTHER_TIP(const detail_line& line, int component, int node) {
    if (!line.compared || component < 1 || component > 3 || node < 1) return {};
    const std::vector<double>& values = line.other_val[static_cast<std::size_t>(component - 1)];
    if (static_cast<std::size_t>(node) > values.size()) return {};
    const double v = values[static_cast<std::size_t>(node - 1)];
    const plotted_panel& p = line.page.panels[static_cast<std::size_t>(3 * line.line - 4 + component)];
    return QStringLiteral("\n%1 = %2 %3").arg(QString::fromStdString(line.other_file),
                                               std::isfinite(v) ? QString::fromStdString(NUMBER_G(v, 15))
                                                                : QStringLiteral("(beyond its region)"),
                                               std::isfinite(v) ? TRIMMED_TEXT(p.unit) : QString());
}

}  // namespace orvex
