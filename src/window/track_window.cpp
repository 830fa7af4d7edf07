// track_window.cpp: View > Track a Particle; see track_window.h. The charts and the matrix are
// filled in track_charts.cpp.
#include "window/track_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChartView>

#include <optional>
#include <vector>

#include "beam/tracking_run.h"
#include "console/file_output.h"
#include "field/figures.h"
#include "window/file_dialog.h"

namespace orvex {

namespace {

QString TEXT(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A field's number (the C locale's form, as the command line takes it); absent when empty.
bool READ_NUMBER(const QLineEdit* edit, std::optional<double>& out) {
    const QString text = edit->text().trimmed();
    out.reset();
    if (text.isEmpty()) return true;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// "A,B" as two numbers; empty is 0,0.
bool READ_PAIR(const QLineEdit* edit, double& a, double& b) {
    const QString text = edit->text().trimmed();
    if (text.isEmpty()) return (a = b = 0.0), true;
    const QStringList parts = text.split(QLatin1Char(','));
    bool ok_a = false, ok_b = false;
    if (parts.size() != 2) return false;
    a = parts[0].trimmed().toDouble(&ok_a);
    b = parts[1].trimmed().toDouble(&ok_b);
    return ok_a && ok_b && std::isfinite(a) && std::isfinite(b);
}

QLineEdit* FIELD(const QString& text, const QString& placeholder) {
    auto* e = new QLineEdit(text);
    e->setPlaceholderText(placeholder);
    return e;
}

}  // namespace

track_window::track_window(const page_content& content, QWidget* parent) : QDialog(parent), shown(content) {
    setObjectName(QStringLiteral("track_window"));
    setWindowTitle(QStringLiteral("Track a Particle - %1").arg(TEXT(content.figures.map_file)));
    particle = new QComboBox;
    particle->setEditable(true);
    for (const named_particle& p : particle_table) particle->addItem(TEXT(p.name));
    particle->setToolTip(QStringLiteral("proton, electron, deuteron, alpha, or MASS_MEV,CHARGE"));
    energy = FIELD(QStringLiteral("10"), QStringLiteral("kinetic energy, MeV"));
    frequency = FIELD({}, QStringLiteral("none: static fields"));
    phase = FIELD(QStringLiteral("0"), QStringLiteral("degrees"));
    phases = FIELD(QStringLiteral("36"), QStringLiteral("phases of a scan"));
    start = FIELD(QStringLiteral("0,0"), QStringLiteral("x,y in cm"));
    slope = FIELD(QStringLiteral("0,0"), QStringLiteral("x',y' in mrad"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Particle:"), particle);
    form->addRow(QStringLiteral("&Energy (MeV):"), energy);
    form->addRow(QStringLiteral("&Frequency (MHz):"), frequency);
    form->addRow(QStringLiteral("P&hase (deg):"), phase);
    form->addRow(QStringLiteral("Phases in a sca&n:"), phases);
    form->addRow(QStringLiteral("&Start x,y (cm):"), start);
    form->addRow(QStringLiteral("S&lopes x',y' (mrad):"), slope);

    auto* track = new QPushButton(QStringLiteral("&Track"));
    auto* scan = new QPushButton(QStringLiteral("Scan Phase&s"));
    scan->setToolTip(QStringLiteral("The gain at N phases -180 + 360 k / N and the crest (needs a frequency)"));
    auto* copy = new QPushButton(QStringLiteral("Cop&y JSON"));
    auto* save = new QPushButton(QStringLiteral("Export &JSON..."));
    auto* save_csv = new QPushButton(QStringLiteral("Export T&rajectory..."));
    auto* close = new QPushButton(QStringLiteral("Close"));
    auto* buttons = new QGridLayout;
    buttons->addWidget(track, 0, 0);
    buttons->addWidget(scan, 0, 1);
    buttons->addWidget(copy, 1, 0);
    buttons->addWidget(save, 1, 1);
    buttons->addWidget(save_csv, 2, 0);
    buttons->addWidget(close, 2, 1);

    matrix = new QTableWidget(4, 4);
    const QStringList names{QStringLiteral("x (mm)"), QStringLiteral("x' (mrad)"), QStringLiteral("y (mm)"), QStringLiteral("y' (mrad)")};
    matrix->setHorizontalHeaderLabels(names);
    matrix->setVerticalHeaderLabels(names);
    matrix->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    matrix->setEditTriggers(QAbstractItemView::NoEditTriggers);
    matrix->setMinimumHeight(150);
    matrix->setMinimumWidth(460);
    focal = new QLabel;
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addLayout(buttons);
    left->addWidget(new QLabel(QStringLiteral("Transfer matrix:")));
    left->addWidget(matrix);
    left->addWidget(focal);
    left->addStretch(1);

    scan_chart = NEW_TRACK_CHART(QStringLiteral("Gain against phase"), QStringLiteral("phase (deg)"), QStringLiteral("gain (MeV)"));
    path_chart = NEW_TRACK_CHART(QStringLiteral("x and y"), QStringLiteral("z (cm)"), QStringLiteral("cm"));
    energy_chart = NEW_TRACK_CHART(QStringLiteral("Kinetic energy"), QStringLiteral("z (cm)"), QStringLiteral("W (MeV)"));
    auto* charts = new QVBoxLayout;
    for (QChart* c : {scan_chart, path_chart, energy_chart}) {
        auto* view = new QChartView(c);
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(200);
        charts->addWidget(view, 1);
    }
    message = new QLabel;
    message->setWordWrap(true);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 0);
    top->addLayout(charts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(message);

    connect(track, &QPushButton::clicked, this, [this] { TRACK(false); });
    connect(scan, &QPushButton::clicked, this, [this] { TRACK(true); });
    for (QLineEdit* e : {energy, frequency, phase, start, slope}) connect(e, &QLineEdit::returnPressed, this, [this] { TRACK(false); });
    connect(phases, &QLineEdit::returnPressed, this, [this] { TRACK(true); });
    connect(copy, &QPushButton::clicked, this, [this] {
        QGuiApplication::clipboard()->setText(QString::fromStdString(document));
        message->setText(QStringLiteral("The document is copied as JSON."));
    });
    connect(save, &QPushButton::clicked, this, [this] { EXPORT(false); });
    connect(save_csv, &QPushButton::clicked, this, [this] { EXPORT(true); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    for (QPushButton* b : {track, scan, copy, save, save_csv, close}) b->setAutoDefault(false);
    resize(1150, 820);
    TRACK(false);
}

track_window::~track_window() = default;

bool track_window::TRACK(bool scan) {
    std::string why;
    const std::optional<orvex::particle> who = PARTICLE_NAMED(particle->currentText().trimmed().toStdString(), &why);
    if (!who) return message->setText(QStringLiteral("The particle %1.").arg(TEXT(why))), false;
    track_request r;
    r.who = *who;
    std::optional<double> w, f, phi, n;
    if (!READ_NUMBER(energy, w) || !w || !(*w > 0.0))
        return message->setText(QStringLiteral("The energy takes a kinetic energy above 0 in MeV.")), false;
    if (!READ_NUMBER(frequency, f) || (f && !FREQUENCY_USABLE(*f)))
        return message->setText(QStringLiteral("The frequency %1.").arg(TEXT(frequency_rule))), false;
    if (!READ_NUMBER(phase, phi)) return message->setText(QStringLiteral("The phase takes a number of degrees.")), false;
    if (!READ_PAIR(start, r.x_cm, r.y_cm)) return message->setText(QStringLiteral("The start takes x,y in cm.")), false;
    if (!READ_PAIR(slope, r.xp_mrad, r.yp_mrad)) return message->setText(QStringLiteral("The slopes take x',y' in mrad.")), false;
    std::optional<int> count;
    if (scan) {
        if (!f) return message->setText(QStringLiteral("A scan of the phases needs a frequency.")), false;
        if (!READ_NUMBER(phases, n) || !n || *n != std::floor(*n) || *n < 1 || *n > scan_most)
            return message->setText(QStringLiteral("The scan takes a number of phases from 1 to %1.").arg(scan_most)), false;
        count = static_cast<int>(*n);
    }
    r.energy_mev = *w;
    r.frequency_mhz = f;
    r.phase_deg = phi.value_or(0.0);
    const full_map& map = *shown.fields.map;
    if (const std::string refused = TRACK_REFUSAL(map, r); !refused.empty())
        return message->setText(QStringLiteral("Cannot track: %1.").arg(TEXT(refused))), false;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const tracking_outcome o = RUN_TRACKING(map, r, count, true);
    QApplication::restoreOverrideCursor();
    std::vector<std::string_view> notes(shown.figures.check_notes.begin(), shown.figures.check_notes.end());
    notes.insert(notes.end(), o.notes.begin(), o.notes.end());
    document = TRACK_JSON(TRACKING_DOCUMENT(o, shown.figures.program, shown.figures.map_file, map, notes));
    trajectory = TRAJECTORY_CSV(o.trajectory, shown.figures.map_file, r);
    SHOW(o);
    return true;
}

void track_window::SHOW(const tracking_outcome& o) {
    FILL_TRACK_CHARTS(o, scan_chart, path_chart, energy_chart);
    FILL_TRACK_MATRIX(o, matrix, focal);
    QString said;
    if (o.scan && o.crest)
        said = QStringLiteral("Crest at %1 deg: gain %2 MeV.").arg(o.crest->phase_deg, 0, 'f', 6).arg(o.crest->track.gain_mev, 0, 'g', 12);
    else if (o.scan)
        said = QStringLiteral("No crest: every particle of the scan is lost.");
    else if (o.about && o.about->loss != track_loss::none)
        said = QStringLiteral("Lost: %1 at z = %2 cm (x = %3, y = %4 cm).")
                   .arg(TEXT(LOSS_TEXT(o.about->loss)))
                   .arg(o.about->last.z, 0, 'g', 8)
                   .arg(o.about->last.x, 0, 'g', 8)
                   .arg(o.about->last.y, 0, 'g', 8);
    else if (o.about)
        said = QStringLiteral("Through: gain %1 MeV, exit x' = %2, y' = %3 mrad, %4 ns.")
                   .arg(o.about->gain_mev, 0, 'g', 12)
                   .arg(o.about->last.xp, 0, 'g', 10)
                   .arg(o.about->last.yp, 0, 'g', 10)
                   .arg(o.about->time_of_flight_ns, 0, 'g', 10);
    for (const std::string& n : o.notes) said += QStringLiteral(" Note: %1.").arg(TEXT(n));
    message->setText(said);
}

bool track_window::EXPORT_DOCUMENT(const QString& path, QString* why) const {
    std::string reason;
    if (WRITE_FILE_ATOMICALLY(QFile::encodeName(path).toStdString(), document, &reason)) return true;
    if (why != nullptr) *why = QString::fromLocal8Bit(reason.c_str());
    return false;
}

bool track_window::EXPORT_TRAJECTORY(const QString& path, QString* why) const {
    std::string reason;
    if (WRITE_FILE_ATOMICALLY(QFile::encodeName(path).toStdString(), trajectory, &reason)) return true;
    if (why != nullptr) *why = QString::fromLocal8Bit(reason.c_str());
    return false;
}

void track_window::EXPORT(bool csv) {
    const QString caption = csv ? QStringLiteral("Export Trajectory") : QStringLiteral("Export Tracking");
    const QString name = csv ? ASK_FOR_FILE(this, caption, QStringLiteral("trajectory.csv"), {QStringLiteral("CSV (*.csv)")})
                             : ASK_FOR_FILE(this, caption, QStringLiteral("track.json"), {QStringLiteral("JSON document (*.json)")});
    if (name.isEmpty()) return;
    QString why;
    if (!(csv ? EXPORT_TRAJECTORY(name, &why) : EXPORT_DOCUMENT(name, &why))) {
        QMessageBox::warning(this, caption, QStringLiteral("%1 could not be written: %2").arg(name, why));
        return;
    }
    message->setText(QStringLiteral("Written to %1.").arg(QFileInfo(name).absoluteFilePath()));
}

track_window* OPEN_TRACK_WINDOW(const page_content& content, QWidget* parent) {
    if (content.fields.map == nullptr) return nullptr;
    auto* window = parent != nullptr ? parent->findChild<track_window*>(QStringLiteral("track_window")) : nullptr;
    if (window == nullptr) window = new track_window(content, parent);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace orvex
