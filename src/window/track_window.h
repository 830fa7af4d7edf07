// track_window.h: View > Track a Particle: what the map does to a particle, in a window.
//
// WHAT IT IS
//   A window of its own beside the page: the particle (proton, electron, deuteron, alpha, or
//   MASS_MEV,CHARGE typed), its kinetic energy (MeV), the frequency (MHz; empty: static
//   fields), the RF phase (degrees), the number of phases of a scan, the start x,y (cm) and the
//   slopes x',y' (mrad). Track follows the particle at the phase; Scan Phases scans the phases
//   and finds the crest (beam/tracking_run.h). Shown: the gain against the phase with the crest
//   marked (after a scan), x(z) and y(z), W(z) of the particle tracked (the crest's after a
//   scan), its 4 x 4 transfer matrix with the focal lengths, and a line saying what was done
//   (or lost, and where). Copy JSON and Export JSON give the document plot_orvex_3dfields
//   --track ... --matrix writes for the same request; Export Trajectory writes the CSV of the
//   particle's steps (z, x, y, x', y', W, t). A value the rules refuse is said in the window;
//   what is shown stays as it was.
//
// HOW TO CALL IT
//   OPEN_TRACK_WINDOW(content, page_window);   // one window per page window, raised again
//
// ASSUMES AND LIMITS
//   content.fields.map is set (else nothing opens) and outlives the window. The tracking runs
//   in the toolkit's thread (a scan of 360 phases on both cores: about half a second on the
//   largest map).
#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <string>

#include "show/page_content.h"

class QChart;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace orvex {

struct tracking_outcome;

class track_window : public QDialog {
public:
    track_window(const page_content& content, QWidget* parent);
    ~track_window() override;

    // Tracks (scan false) or scans the phases (true) for the values typed and shows the result;
    // false, with the reason in the window, when a value is refused.
    bool TRACK(bool scan);
    const std::string& DOCUMENT() const { return document; }
    const std::string& TRAJECTORY() const { return trajectory; }
    // Write the document or the trajectory CSV to path (replacing it); false with the reason in why.
    bool EXPORT_DOCUMENT(const QString& path, QString* why) const;
    bool EXPORT_TRAJECTORY(const QString& path, QString* why) const;

    QComboBox* PARTICLE() const { return particle; }
    QLineEdit* ENERGY() const { return energy; }
    QLineEdit* FREQUENCY() const { return frequency; }
    QLineEdit* PHASE() const { return phase; }
    QLineEdit* SCAN() const { return phases; }
    QLineEdit* START() const { return start; }
    QLineEdit* SLOPE() const { return slope; }
    QLabel* MESSAGE() const { return message; }
    QTableWidget* MATRIX() const { return matrix; }
    QChart* SCAN_CHART() const { return scan_chart; }
    QChart* PATH_CHART() const { return path_chart; }
    QChart* ENERGY_CHART() const { return energy_chart; }

private:
    void SHOW(const tracking_outcome& o);
    void EXPORT(bool csv);

    const page_content& shown;
    QComboBox* particle = nullptr;
    QLineEdit *energy = nullptr, *frequency = nullptr, *phase = nullptr, *phases = nullptr, *start = nullptr, *slope = nullptr;
    QLabel* message = nullptr;
    QTableWidget* matrix = nullptr;
    QLabel* focal = nullptr;
    QChart *scan_chart = nullptr, *path_chart = nullptr, *energy_chart = nullptr;
    std::string document, trajectory;
};

// Opens (or raises) the tracking window of parent; null when the content has no map.
track_window* OPEN_TRACK_WINDOW(const page_content& content, QWidget* parent);

// The charts and the matrix of a tracking outcome (track_charts.cpp).
QChart* NEW_TRACK_CHART(const QString& title, const QString& x_title, const QString& y_title);
void FILL_TRACK_CHARTS(const tracking_outcome& o, QChart* scan, QChart* path, QChart* energy);
void FILL_TRACK_MATRIX(const tracking_outcome& o, QTableWidget* table, QLabel* focal);

}  // namespace orvex
