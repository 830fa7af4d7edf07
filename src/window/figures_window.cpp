// figures_window.cpp: View > Figures; see figures_window.h. The table's rows are filled in
// figures_table.cpp.
#include "window/figures_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "console/file_output.h"
#include "console/number_text.h"
#include "field/figures.h"
#include "field/figures_json.h"
#include "window/figures_table.h"
#include "window/file_dialog.h"
#include "window/multipole_detail.h"

namespace orvex {

namespace {

// A field's text as a number the rule takes (field/figures.h, as the command line checks it);
// absent when empty; false when it is not one.
bool READ_FIELD(const QLineEdit* edit, bool (*usable)(double), std::optional<double>& out) {
    const QString text = edit->text().trimmed();
    out.reset();
    if (text.isEmpty()) return true;
    bool ok = false;
    const double v = text.toDouble(&ok);  // the C locale's form, as the command line takes it
    if (!ok || !usable(v)) return false;
    out = v;
    return true;
}

QString RULE_TEXT(std::string_view subject, std::string_view rule) {
    return QString::fromUtf8(subject.data(), static_cast<qsizetype>(subject.size())) + QLatin1Char(' ') +
           QString::fromUtf8(rule.data(), static_cast<qsizetype>(rule.size())) + QLatin1Char('.');
}

}  // namespace

figures_window::figures_window(const page_content& content, QWidget* parent) : QDialog(parent), shown(content) {
    setObjectName(QStringLiteral("figures_window"));
    setWindowTitle(QStringLiteral("Figures - %1").arg(QString::fromUtf8(content.figures.map_file.data(),
                                                                        static_cast<qsizetype>(content.figures.map_file.size()))));
    frequency = new QLineEdit;
    frequency->setPlaceholderText(QStringLiteral("none: no RF figures"));
    beta = new QLineEdit;
    beta->setPlaceholderText(QStringLiteral("0 < beta <= 1"));
    radius = new QLineEdit;
    radius->setPlaceholderText(QStringLiteral("2/3 of the smaller transverse half-width: %1 cm")
                                   .arg(QString::fromStdString(NUMBER_G(REFERENCE_RADIUS(*content.fields.map, std::nullopt), 6))));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Frequency (MHz):"), frequency);
    form->addRow(QStringLiteral("&Beta (v/c):"), beta);
    form->addRow(QStringLiteral("Multipoles' reference &radius (cm):"), radius);

    auto* compute = new QPushButton(QStringLiteral("&Compute"));
    auto* best = new QPushButton(QStringLiteral("Find Be&st Beta"));
    best->setToolTip(QStringLiteral("The beta in [0.001, 1] where the gain on the axis is largest (needs a frequency)"));
    auto* plot = new QPushButton(QStringLiteral("&Plot b_n, a_n along z"));
    plot->setToolTip(QStringLiteral("The chosen harmonic of the multipoles on every z plane (double-click a harmonic's row)"));
    auto* copy = new QPushButton(QStringLiteral("Cop&y JSON"));
    auto* save = new QPushButton(QStringLiteral("&Export JSON..."));
    auto* close = new QPushButton(QStringLiteral("Close"));
    // The frequency and beta are figures of the electric field on the axis.
    auto* reason = new QLabel;
    if (!MAP_CARRIES(*content.fields.map, 0)) {
        const QString why = QStringLiteral("The map has no electric field: the frequency, beta and best beta apply to "
                                           "the electric field on the axis.");
        for (QWidget* w : std::initializer_list<QWidget*>{frequency, beta, best}) {
            w->setEnabled(false);
            w->setToolTip(why);
        }
        frequency->setPlaceholderText(QStringLiteral("no electric field"));
        beta->setPlaceholderText(QStringLiteral("no electric field"));
        reason->setText(why);
    }
    reason->setVisible(!reason->text().isEmpty());
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {compute, best, plot, copy, save}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);

    table = new QTreeWidget;
    table->setColumnCount(4);
    table->setHeaderLabels({QStringLiteral("Figure"), QStringLiteral("Value"), QStringLiteral("Unit"), QStringLiteral("Where")});
    table->setAlternatingRowColors(true);
    table->setUniformRowHeights(true);
    table->header()->setStretchLastSection(false);  // a place wider than the room scrolls, whole
    message = new QLabel;
    message->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(reason);
    layout->addLayout(buttons);
    layout->addWidget(table, 1);
    layout->addWidget(message);

    connect(compute, &QPushButton::clicked, this, [this] { COMPUTE(false); });
    connect(best, &QPushButton::clicked, this, [this] { COMPUTE(true); });
    connect(frequency, &QLineEdit::returnPressed, this, [this] { COMPUTE(false); });
    connect(beta, &QLineEdit::returnPressed, this, [this] { COMPUTE(false); });
    connect(radius, &QLineEdit::returnPressed, this, [this] { COMPUTE(false); });
    connect(plot, &QPushButton::clicked, this, [this] { PLOT_HARMONIC(table->currentItem()); });
    connect(table, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) {
        harmonic_choice chosen;
        if (MULTIPOLE_OF_ROW(row, chosen)) PLOT_HARMONIC(row);
    });
    connect(copy, &QPushButton::clicked, this, [this] { COPY(); });
    connect(save, &QPushButton::clicked, this, [this] { EXPORT(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Enter in a field computes; no button takes it as the dialog's default.
    for (QPushButton* b : {compute, best, plot, copy, save, close}) b->setAutoDefault(false);
    resize(1120, 640);
    COMPUTE(false);
}

bool figures_window::COMPUTE(bool find_best) {
    figure_request request;
    if (!READ_FIELD(frequency, FREQUENCY_USABLE, request.frequency_mhz)) {
        message->setText(RULE_TEXT("The frequency", frequency_rule));
        return false;
    }
    if (!READ_FIELD(beta, BETA_USABLE, request.beta)) {
        message->setText(RULE_TEXT("Beta", beta_rule));
        return false;
    }
    if (request.beta && !request.frequency_mhz) {
        message->setText(QStringLiteral("Beta needs a frequency."));
        return false;
    }
    if (!READ_FIELD(radius, RADIUS_USABLE, request.radius_cm)) {
        message->setText(RULE_TEXT("The reference radius", radius_rule));
        return false;
    }
    if (find_best && !request.frequency_mhz) {
        message->setText(QStringLiteral("The best beta needs a frequency."));
        return false;
    }
    request.find_best = find_best;
    const full_map& map = *shown.fields.map;
    // The figures as the command line assembles them: the map checks' notes, then the figures' own.
    const map_figures figures = MAP_FIGURES(map, request, shown.fields.field_flag);
    std::vector<std::string_view> notes(shown.figures.check_notes.begin(), shown.figures.check_notes.end());
    notes.insert(notes.end(), figures.notes.begin(), figures.notes.end());
    const curl_figures* curl = figures.curl ? &*figures.curl : nullptr;
    document = FIGURES_JSON({shown.figures.program, shown.figures.map_file, &map, request, figures.fields, notes, curl});
    FILL_FIGURES_TABLE(table, figures.fields, map, curl);
    // A place too long for its column is read whole in its tooltip.
    for (QTreeWidgetItemIterator row(table); *row != nullptr; ++row) (*row)->setToolTip(3, (*row)->text(3));
    for (int column = 2; column < 4; ++column) table->resizeColumnToContents(column);
    message->setText(find_best ? QStringLiteral("The figures, with the best beta.") : QStringLiteral("The figures."));
    return true;
}

QWidget* figures_window::PLOT_HARMONIC(const QTreeWidgetItem* row) {
    harmonic_choice chosen;
    if (!MULTIPOLE_OF_ROW(row, chosen)) {
        message->setText(QStringLiteral("Choose a harmonic among the multipoles' rows first."));
        return nullptr;
    }
    QWidget* opened = OPEN_MULTIPOLE_DETAIL(*shown.fields.map, chosen.field, chosen.r_ref, chosen.n, shown.figures.map_file, this);
    message->setText(opened != nullptr ? QStringLiteral("b%1 and a%1 along z.").arg(chosen.n)
                                       : QStringLiteral("No main harmonic: b%1 and a%1 are not defined.").arg(chosen.n));
    return opened;
}

bool figures_window::EXPORT_TO(const QString& path, QString* why) const {
    std::string reason;
    if (WRITE_FILE_ATOMICALLY(QFile::encodeName(path).toStdString(), document, &reason)) return true;
    if (why != nullptr) *why = QString::fromLocal8Bit(reason.c_str());
    return false;
}

void figures_window::COPY() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(document));
    message->setText(QStringLiteral("The figures are copied as JSON."));
}

void figures_window::EXPORT() {
    const QString caption = QStringLiteral("Export Figures");
    const QString name = ASK_FOR_FILE(this, caption, QStringLiteral("figures.json"), {QStringLiteral("JSON document (*.json)")});
    if (name.isEmpty()) return;
    QString why;
    if (!EXPORT_TO(name, &why)) {
        QMessageBox::warning(this, caption, QStringLiteral("The figures could not be written to %1: %2").arg(name, why));
        return;
    }
    message->setText(QStringLiteral("The figures are written to %1.").arg(QFileInfo(name).absoluteFilePath()));
}

figures_window* OPEN_FIGURES_WINDOW(const page_content& content, QWidget* parent) {
    if (content.fields.map == nullptr) return nullptr;
    auto* window = parent != nullptr ? parent->findChild<figures_window*>(QStringLiteral("figures_window")) : nullptr;
    if (window == nullptr) window = new figures_window(content, parent);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace orvex
