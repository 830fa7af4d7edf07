// page_window.h: the desktop window that shows the finished page, reads values off it, and
// saves and exports it.
//
// WHAT IT IS
//   One window captioned with the content's caption: the page above (fit to the window by
//   default; View offers 1:1 and zoom, Ctrl+wheel zooms about the pointer and the keys about
//   the centre), the notes on the map in a strip, and the console listing below in the
//   content's text colour on black; the pane gives its height up to the page in a small window,
//   keeping three lines, and its divider can be dragged. The status bar names the map file and
//   the field, and while the pointer is over a panel it reads the node under it (page_view.h).
//   A double-click on a panel (or Enter) opens it in a detail window of its own. File > Save
//   Page As (Ctrl+Shift+S) writes PNG, SVG or PDF by the suffix, File > Export Profiles
//   (Ctrl+E) writes every profile as CSV, File > Export Map the whole unfolded map as .h5,
//   .vti or .csv (for .h5 it asks for a frequency, frequency_dialog.h); none replaces a file
//   without asking. File > Compare With reads the map of
//   another directory through its control file (the program's content.fields.load_other) and
//   compares this map with it: the slice window gains the difference quantities, every detail
//   window draws the other's profile over this map's, the other's notes join the strip (each
//   begun "in the other map: "); the page does not change. Edit > Copy
//   (Ctrl+C) copies the selected listing text when the listing has the focus, the page
//   otherwise. Ctrl+Q, Ctrl+W and the window's close button end the program with status 0; Esc
//   does not. For a map behind the page (content.fields.map): View > Slice (Ctrl+L) opens the
//   slice window, View > Line Through Node (Ctrl+K) a profile through any node, and for a map
//   that carries both fields View > Electric Field (Ctrl+1) and View > Magnetic Field (Ctrl+2)
//   switch the page, the readout, the exports, the slice window and the detail windows (each
//   opened again in its place) to that field; with one field the other entry is disabled and
//   says why.
//
// HOW TO CALL IT
//   if (PAGE_WINDOW_POSSIBLE()) return RUN_PAGE_WINDOW(content);   // window_run.h
//   or, in a test with its own QApplication: page_window window(content); window.show();
//
// ASSUMES AND LIMITS
//   The content outlives the window. These files and the other window files are the only code
//   that includes Qt.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>

#include "field/compare.h"
#include "show/page_content.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;

namespace orvex {

class page_view;

// The page as an image, one image pixel per page pixel.
QImage PAGE_IMAGE_OF(std::span<const packed_colour> pixels);

class page_window : public QMainWindow {
public:
    explicit page_window(const page_content& content);

    // Writes the page to path, as PNG, SVG or PDF by its suffix; false with the reason in why.
    // Replaces an existing file without asking: the dialog asks first.
    bool SAVE_PAGE_TO(const QString& path, QString* why);
    // Writes every profile of the page to path as CSV; false with the reason in why.
    bool EXPORT_PROFILES_TO(const QString& path, QString* why);
    // Writes the whole unfolded map to path as .h5, .vti or .csv by its suffix (a static field,
    // or for .h5 with frequency_mhz > 0 the RF field of that frequency); false with the reason in
    // why. Replaces an existing file without asking: the dialog asks.
    bool EXPORT_MAP_TO(const QString& path, QString* why, double frequency_mhz = 0.0);

    page_view* VIEW() const { return view; }
    QPlainTextEdit* CONSOLE() const { return console_pane; }
    QLabel* NOTES() const { return notes_strip; }

    // Shows the page of field_flag (0 electric, 1 magnetic), drawn by the program; false (and a
    // message) when it cannot be. The field menu entries do this.
    bool SWITCH_FIELD(int field_flag);
    int FIELD_SHOWN() const { return shown.fields.field_flag; }
    // The slice window, opened (View > Slice) if it is not open.
    QWidget* OPEN_SLICE_WINDOW();
    // Compares this map with the map of directory (File > Compare With), replacing any earlier
    // one; false, with the reason in why, and the comparison shown before kept, when it cannot.
    bool COMPARE_WITH(const QString& directory, QString* why);
    const map_pairing* COMPARISON() const { return pairing.get(); }
    ~page_window() override;

    // Zooms by factor keeping page point (u, v) where it is in the window.
    void ZOOM_ABOUT(double factor, QPointF page_point, QPointF viewport_point);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BUILD_MENUS();
    void SHOW_FIT();
    void SHOW_AT(double s);
    void ZOOM_KEEPING_CENTRE(double factor);
    void SAVE_PAGE_AS();
    void EXPORT_PROFILES();
    void EXPORT_MAP();
    void OPEN_PANEL(int panel);
    void COPY();
    void SAY(const QString& confirmation);
    void SHOW_READOUT(const QString& readout);
    void FIT_CONSOLE_HEIGHT();
    void BUILD_FIELD_MENU(QMenu* view_menu);
    void ASK_NODE_LINE();
    void ASK_COMPARE();

    page_content shown;  // its field switches with the field menu
    const other_map* compared_map = nullptr;  // the program's, handed back to fields.drop_other
    std::unique_ptr<map_pairing> pairing;     // this map against it
    std::array<QAction*, 2> field_actions{};
    QPointer<QWidget> slices;
    page_view* view = nullptr;
    QScrollArea* scroller = nullptr;
    QSplitter* split = nullptr;
    QPlainTextEdit* console_pane = nullptr;
    QLabel* notes_strip = nullptr;
    QAction* fit_action = nullptr;
    QString summary;
    bool console_dragged = false;
};

}  // namespace orvex
