// page.cpp: the page of one run: colours, panel geometry, heading, stamp and empty panels.
#include "page/page.h"

#include <algorithm>
#include <string_view>

#include "console/run_stop.h"

namespace orvex {

std::array<packed_colour, colour_count> colour_table{};
std::array<panel_record, panel_count> panel_table{};

namespace {

constexpr int panel_w = 148, panel_h = 100;
constexpr int panel_gap_x = 60, panel_gap_y = 48;
constexpr int panel_y0 = 48;
constexpr int left_block_x0 = 60;
constexpr int panel_rows = 5, panel_cols = 3;

constexpr std::string_view page_title_text = " ORVEX 3D Fields Projection Software";
constexpr std::string_view page_font = "t'Arial'h16w8i";
constexpr std::string_view month_names = "JanFebMarAprMayJunJulAugSepOctNovDec";

// The colour_table entry n (1..8).
packed_colour COLOUR(int n) { return colour_table[static_cast<std::size_t>(n - 1)]; }

// Lays out one block of five rows by three columns starting at panel first (1-based) with its
// first column's left edge at x0.
void LAYOUT_BLOCK(int first, int x0) {
    for (int r = 1; r <= panel_rows; ++r) {
        for (int c = 1; c <= panel_cols; ++c) {
            panel_record& p = panel_table[static_cast<std::size_t>(first - 1 + panel_cols * (r - 1) + c - 1)];
            p.ix1 = x0 + (c - 1) * (panel_w + panel_gap_x);
            p.ix2 = p.ix1 + panel_w;
            p.iy1 = panel_y0 + (r - 1) * (panel_h + panel_gap_y);
            p.iy2 = p.iy1 + panel_h;
            p.ndiv_x = 4;
            p.ndiv_y = 4;
        }
    }
}

// The vertical line I steps from the panel's left edge, top to bottom.
void VERTICAL(const panel_record& p, int i, int step_x) {
    const int x = p.ix1 + i * step_x;
    MOVE_TO(static_cast<coord>(x), static_cast<coord>(p.iy1));
    LINE_TO(static_cast<coord>(x), static_cast<coord>(p.iy2));
}

// The horizontal line J steps below the panel's top edge, left to right.
void HORIZONTAL(const panel_record& p, int j, int step_y) {
    const int y = p.iy1 + j * step_y;
    MOVE_TO(static_cast<coord>(p.ix1), static_cast<coord>(y));
    LINE_TO(static_cast<coord>(p.ix2), static_cast<coord>(y));
}

// Two decimal digits of v (0..99) at out[0], out[1].
void TWO_DIGITS(int v, char* out) {
    out[0] = static_cast<char>('0' + v / 10 % 10);
    out[1] = static_cast<char>('0' + v % 10);
}

}  // namespace

void LAYOUT_PAGE() {
    colour_table = {0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};
    LAYOUT_BLOCK(1, left_block_x0);
    // The right block starts one gap right of panel 15's right edge.
    LAYOUT_BLOCK(16, panel_table[14].ix2 + panel_gap_x);
}

void INI_GRAPH() {
    LAYOUT_PAGE();
    SET_CONSOLE_TEXT_COLOUR(COLOUR(1));
    MAXIMISE_WINDOW(window_id::application_frame);
    MAXIMISE_WINDOW(window_id::console);
    OPEN_PLOT_WINDOW(page_caption);
    MAXIMISE_WINDOW(window_id::plot);
    SET_CLIP_RECT(1, 1, page_width, page_height);
    SET_BACK_COLOUR(COLOUR(1));
    CLEAR_WINDOW();

    std::array<char, 80> title;
    title.fill(' ');
    std::copy(page_title_text.begin(), page_title_text.end(), title.begin());
    LOAD_FONTS();
    // A page without its numbers and titles would pass for a page and mislead: with no font
    // at all the run stops here, before anything is shown or written.
    if (SELECT_FONT(page_font) < 0) RUN_FAILURE("no font can be loaded (fontconfig offers no scalable face); the page cannot be drawn");
    MOVE_TO(200, 10);
    SET_DRAW_COLOUR(COLOUR(3));
    DRAW_TEXT({title.data(), title.size()}, static_cast<int>(title.size()));

    std::array<char, 25> stamp;
    LOAD_FONTS();
    SELECT_FONT(page_font);
    MOVE_TO(950, 10);
    SET_DRAW_COLOUR(COLOUR(5));
    D_AND_T(stamp);
    DRAW_TEXT({stamp.data(), stamp.size()}, static_cast<int>(stamp.size()));

    for (int n = 1; n <= panel_count; ++n) GRAPH(n, COLOUR(2));
}

// Draws panel p as a white rectangle with a frame and, unless it has one division each way,
// its grid and centre lines, all in colour. Assumes ndiv_x and ndiv_y are at least 1.
void GRAPH(int p, packed_colour colour) {
    const panel_record& r = panel_table[static_cast<std::size_t>(p - 1)];
    SET_DRAW_COLOUR(0xFFFFFF);
    FILL_RECT(static_cast<coord>(r.ix1), static_cast<coord>(r.iy1), static_cast<coord>(r.ix2),
              static_cast<coord>(r.iy2));
    const int step_x = (r.ix2 - r.ix1) / r.ndiv_x;
    const int step_y = (r.iy2 - r.iy1) / r.ndiv_y;

    SET_DRAW_COLOUR(colour);
    VERTICAL(r, 0, step_x);
    VERTICAL(r, r.ndiv_x, step_x);
    HORIZONTAL(r, 0, step_y);
    HORIZONTAL(r, r.ndiv_y, step_y);
    if (r.ndiv_x == 1 && r.ndiv_y == 1) return;

    SET_DRAW_COLOUR(colour);
    for (int i = 1; i <= r.ndiv_x - 1; ++i) VERTICAL(r, i, step_x);
    for (int j = 1; j <= r.ndiv_y - 1; ++j) HORIZONTAL(r, j, step_y);

    SET_DRAW_COLOUR(colour);
    VERTICAL(r, r.ndiv_x / 2, step_x);
    HORIZONTAL(r, r.ndiv_y / 2, step_y);
}

void D_AND_T(std::array<char, 25>& stamp) { D_AND_T_FROM(std::time(nullptr), stamp); }

// A clock that cannot be read (time() gives -1) or a time the local calendar cannot hold gives
// the stamp of the epoch, Jan 01,1970,00:00:00.
void D_AND_T_FROM(std::time_t now, std::array<char, 25>& stamp) {
    std::tm when{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &when) == nullptr) {
        when = std::tm{};
        when.tm_year = 70;
        when.tm_mday = 1;
    }
    D_AND_T_AT(when, stamp);
}

// "Mon DD,YYYY,HH:MM:SS" and five blanks. The year is written as its four low digits.
void D_AND_T_AT(const std::tm& when, std::array<char, 25>& stamp) {
    stamp.fill(' ');
    const int month = std::clamp(when.tm_mon, 0, 11);
    std::copy_n(month_names.begin() + 3 * month, 3, stamp.begin());
    TWO_DIGITS(when.tm_mday, &stamp[4]);
    stamp[6] = ',';
    const int year = when.tm_year + 1900;
    TWO_DIGITS(year / 100, &stamp[7]);
    TWO_DIGITS(year % 100, &stamp[9]);
    stamp[11] = ',';
    TWO_DIGITS(when.tm_hour, &stamp[12]);
    stamp[14] = ':';
    TWO_DIGITS(when.tm_min, &stamp[15]);
    stamp[17] = ':';
    TWO_DIGITS(when.tm_sec, &stamp[18]);
}

}  // namespace orvex
