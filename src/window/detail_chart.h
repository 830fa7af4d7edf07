// detail_chart.h: the chart inside a detail window: one line's profiles, their series, the
// axes and their ticks, the node under the pointer.
//
// WHAT IT IS
//   detail_line is the window's own copy of one line of the page: the three components'
//   points and a plotted_page whose panels of that line point into them, so the window never
//   reads the run's arrays again and exports through the same CSV writer as the page. A
//   detail_chart holds the Qt Charts objects that show it: per component the runs of finite
//   points as lines and every finite node as a small marker, in the component's colour, on two
//   category axes whose ticks DETAIL_AXIS_TICKS (detail_window.h) places and labels. Compared
//   with another map, each component shown has the other map's profile along the same nodes
//   beside it, dashed, in a second colour, and the legend names both files.
//
// HOW TO CALL IT
//   detail_line line;  COPY_LINE(PLOTTED_PAGE(), panel, line);
//   detail_chart chart;  QChartView* view = BUILD_DETAIL_CHART(line, chart);
//   SHOW_COMPONENT(line, chart, 1, true);   // and RESET_DETAIL_RANGES(line, chart) after
//   QString tip = NODE_TIP(line, chart, pointer_in_view);
//
// ASSUMES AND LIMITS
//   panel is 1..30 and the line has at least one point; detail_window.cpp builds the window
//   around the view and owns both records. The axes re-place their ticks whenever their range
//   changes (a zoom, a reset).
#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QXYSeries>

#include <array>
#include <string>
#include <vector>

#include "page/plotted_page.h"

namespace orvex {

struct map_pairing;

struct detail_line {
    plotted_page page;  // the line's three panels point into pos and val below; the others have n = 0
    std::string map_file;
    // Another map compared with this one: its values at the line's nodes (NaN beyond its
    // region), drawn over each component shown in a second colour, and its file for the legend.
    bool compared = false;
    std::string other_file;
    std::array<std::vector<double>, 3> other_val;
    std::string axis_title;  // the line's title, which need not be one of the page's constants
    bool through_node = false;  // a line through any node (its panels' line is 0), not one of the ten
    std::array<std::vector<double>, 3> pos, val;
    std::vector<double> points;  // a segment's points, x, y, z each (plotted_panel::points)
    int panel = 0, line = 0;
    int own = 0;  // the panel's component, 1..3
};

// A title of the page as the window shows it: UTF-8, trailing blanks dropped.
QString TRIMMED_TEXT(std::string_view text);

// "line 3", "along z" for a line through any node, or "segment" for a segment.
QString LINE_WORDS(const detail_line& line);

// Fills into (which must not move afterwards) from the page's line of panel; with another map
// (compared, whose map is the one the page was drawn from), its values along the same nodes too.
void COPY_LINE(const plotted_page& page, int panel, detail_line& into, const map_pairing* compared = nullptr);

struct detail_chart {
    QChart* chart = nullptr;
    QChartView* view = nullptr;
    QCategoryAxis* x_axis = nullptr;
    QCategoryAxis* y_axis = nullptr;
    std::array<bool, 3> shown{};
    std::array<std::vector<QXYSeries*>, 3> series;  // per shown component: the line runs, then the markers
    std::array<std::vector<QXYSeries*>, 3> other_series;  // the other map's, the same way
    std::array<QColor, 3> colours, other_colours;
};

// Builds the view with the panel's own component shown and the axes covering it.
QChartView* BUILD_DETAIL_CHART(const detail_line& line, detail_chart& shown);

// Shows or hides component 1..3, the shown ones in component order (so is the legend); the
// axes keep their range until RESET_DETAIL_RANGES.
void SHOW_COMPONENT(const detail_line& line, detail_chart& shown, int component, bool on);
bool COMPONENT_SHOWN(const detail_chart& shown, int component);
// The names of the components shown, in component order ("Ex", "Ez"), and the value title
// they share ("Ex, Ez (V/cm)").
QStringList SHOWN_COMPONENT_NAMES(const detail_line& line, const detail_chart& shown);
QString SHOWN_VALUE_TITLE(const detail_line& line, const detail_chart& shown);

// The axes back to every finite point of the shown components, with a small margin.
void RESET_DETAIL_RANGES(const detail_line& line, detail_chart& shown);

// The other map's part (detail_compare.cpp): its values along the line's nodes when there is
// another map (compared null: none); its profile of a component, dashed, in the second colour;
// the tip's line of its value at a node ("" without another map).
void COPY_OTHER_LINE(const map_pairing* compared, detail_line& into);
void ADD_OTHER_SERIES(const detail_line& line, detail_chart& shown, int component);
QString OTHER_TIP(const detail_line& line, int component, int node);

// The node of a shown component nearest to a point of the view (within a few pixels) as the
// text of a tooltip; empty when none is that close.
QString NODE_TIP(const detail_line& line, const detail_chart& shown, QPoint in_view);

}  // namespace orvex
