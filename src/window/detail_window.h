// detail_window.h: one panel's profile, large, in a window of its own.
//
// WHAT IT IS
//   OPEN_DETAIL_WINDOW shows a top-level window of about 900 x 600 captioned with the
//   components shown and the line, "Ez (V/cm) — Z (cm), X=Y=0" ("Ex, Ez (V/cm) — ..." once Ex
//   is added). It plots the profile's nodes as they are: the curve through them (broken where a
//   position or value is not finite) and a small marker on every node, on axes whose tick
//   labels have the digits to tell neighbouring ticks and the ends of the range apart. Hovering
//   over a node shows its index, position and value with 15 significant digits. Dragging a
//   rectangle zooms into it (a right click zooms out); View > Reset Zoom (Ctrl+0, R or Home)
//   shows every point again. The line's other two components can be shown beside the panel's
//   own (View > Ex, Ey, Ez), each in its colour, named in the legend; the value axis covers
//   those shown. File > Export Profile... (Ctrl+E) writes the shown components of the line as
//   CSV (profiles_csv.h), asking before it replaces a file; the name offered is that of the
//   components shown (Ex_Ez_line3.csv). With another map compared, the other's profile of
//   each component shown lies over it, dashed, in a second colour; the legend names both files,
//   and the hover readout gives the other's value at the node too (the export stays this map's).
//   Esc closes the window and nothing else. A profile
//   without points gives a window that says there is nothing to show.
//
// HOW TO CALL IT
//   QWidget* detail = OPEN_DETAIL_WINDOW(PLOTTED_PAGE(), panel, this);   // panel 1..30
//
//   DETAIL_AXIS_TICKS(lo, hi) gives the ticks an axis over lo..hi gets, DETAIL_TICK_LABEL the
//   text of each (the same in every locale).
//
// ASSUMES AND LIMITS
//   A QApplication exists. The window copies the line's points and the map file's name, so
//   the page's arrays may change afterwards; the titles are the plot driver's constants. It is deleted when closed and closes when its parent's window is
//   closed (hidden; not when minimised) or deleted; it does not keep the application running
//   on its own. A panel outside 1..30 gives nullptr and no window.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

#include "page/plotted_page.h"

namespace orvex {

struct map_pairing;

// compared: another map against the map the page was drawn from (field/compare.h); its profile
// along the same nodes is drawn over the panel's.
QWidget* OPEN_DETAIL_WINDOW(const plotted_page& page, int panel, QWidget* parent, const map_pairing* compared = nullptr);

// Ticks at whole multiples of a step of 1, 2 or 5 times a power of ten, three to nine of them
// inside lo..hi, and the significant digits of their labels (as "%.<digits>g" writes them in
// the C locale): the fewest that show every tick exactly (no exponent between 1e-4 and 1e6) and
// make lo, hi and every tick read differently. A range too narrow for its magnitude (below
// about 1e-12 of it) gets the two ends as ticks, with 17 digits.
struct detail_ticks {
    double step = 0.0;
    std::vector<double> at;
    int digits = 17;
};
detail_ticks DETAIL_AXIS_TICKS(double lo, double hi);
// The label of the tick at v: "0" for a value within 1e-9 of a step of zero.
std::string DETAIL_TICK_LABEL(const detail_ticks& ticks, double v);

}  // namespace orvex
