// figures_window.h: View > Figures: the numbers a map is judged by, in a table.
//
// WHAT IT IS
//   A window of its own beside the page: a frequency (MHz) and a beta to type, and a table of
//   the figures of field/figures.h for every field of the map (both for a map that carries
//   both; the other field's triple is unfolded first, through the content's unfold_field):
//   the axis figures (V0, the gain, crest phase and the two transit-time factors at the beta,
//   the best beta once asked for; or the Bz integrals, effective length and hard-edge field),
//   the gradient on the axis, the divergence check, the multipoles at the reference radius
//   typed (else 2/3 of the map's smaller transverse half-width), the curl check of a map that
//   carries both fields when a frequency is typed, and for each of the ten lines and each component the
//   smallest and largest value with its node and position and the integral. Values are shown
//   with 15 significant digits. Copy puts the JSON document of field/figures_json.h on the
//   clipboard, Export writes it to a file (the file dialog of file_dialog.h: nothing is
//   replaced without a Yes); it is the document plot_orvex_3dfields --figures writes for the
//   same frequency, beta and radius (and the best beta once asked for). A frequency, beta or
//   radius that is not a number in range is refused with a line in the window; the table stays
//   as it was. A harmonic's row double-clicked (or chosen, then Plot) opens b_n(z) and a_n(z)
//   in a detail window (multipole_detail.h).
//   For a map with no electric field the frequency, beta and Find Best Beta are disabled, and a
//   line and their tooltips say why. A place in the "Where" column too long for it reads whole
//   in its tooltip.
//
// HOW TO CALL IT
//   OPEN_FIGURES_WINDOW(content, page_window);   // one window per page window, raised again
//
// ASSUMES AND LIMITS
//   content.fields.map and content.figures.lines are set (else nothing opens) and outlive the
//   window. The figures are computed in the toolkit's thread: at most some 30 ms.
#pragma once

#include <QDialog>
#include <QString>

#include <string>

#include "show/page_content.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvex {

class figures_window : public QDialog {
public:
    figures_window(const page_content& content, QWidget* parent);

    // Computes the figures for the frequency and beta typed (and the best beta when asked) and
    // fills the table; false, with the reason in the window, when a value is refused.
    bool COMPUTE(bool find_best);
    // The JSON document of the figures shown.
    const std::string& DOCUMENT() const { return document; }
    // Writes the document to path (replacing it); false with the reason in why.
    bool EXPORT_TO(const QString& path, QString* why) const;
    // Opens b_n(z), a_n(z) of the harmonic of row in a detail window; null, with the reason in
    // the window, when row is no harmonic's or the field has no main harmonic.
    QWidget* PLOT_HARMONIC(const QTreeWidgetItem* row);

    QLineEdit* FREQUENCY() const { return frequency; }
    QLineEdit* BETA() const { return beta; }
    QLineEdit* RADIUS() const { return radius; }
    QTreeWidget* TABLE() const { return table; }
    QLabel* MESSAGE() const { return message; }

private:
    void COPY();
    void EXPORT();

    const page_content& shown;
    QLineEdit* frequency = nullptr;
    QLineEdit* beta = nullptr;
    QLineEdit* radius = nullptr;
    QTreeWidget* table = nullptr;
    QLabel* message = nullptr;
    std::string document;
};

// Opens (or raises) the figures window of parent; null when the content has no map.
figures_window* OPEN_FIGURES_WINDOW(const page_content& content, QWidget* parent);

}  // namespace orvex
