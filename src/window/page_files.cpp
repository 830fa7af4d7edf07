// page_files.cpp: the window's files: the page saved as PNG, SVG or PDF, the profiles exported
// as CSV and the unfolded map as .h5, .vti or .csv, each under a name asked for by the window's
// one dialog (file_dialog.h).
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>

#include <array>
#include <string>

#include "console/file_output.h"
#include "surface/png_encode.h"
#include "fieldio/map_export.h"
#include "page/plotted_page.h"
#include "page/profiles_csv.h"
#include "window/detail_window.h"
#include "window/slice_window.h"
#include "window/file_dialog.h"
#include "window/page_view.h"
#include "window/page_window.h"
#include "window/qt_forms.h"
#include "window/vector_page.h"

namespace orvex {

namespace {

// What Save Page As offers; the suffix typed chooses the format.
constexpr std::array<const char*, 3> page_filters{
    "PNG image, the exact page (*.png)",
    "SVG drawing, vectors (*.svg)",
    "PDF document, vectors (*.pdf)",
};

bool WRITE_BYTES(const QString& path, const QByteArray& bytes, QString* why) {
    std::string reason;
    if (WRITE_FILE_ATOMICALLY(QFile::encodeName(path).toStdString(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &reason)) return true;
    if (why != nullptr) *why = QString::fromLocal8Bit(reason.c_str());
    return false;
}

}  // namespace

bool page_window::SAVE_PAGE_TO(const QString& path, QString* why) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) {
        std::string reason;
        if (WRITE_PNG_FILE(QFile::encodeName(path).toStdString(), shown.pixels, page_width, page_height, shown.png_texts,
                           &reason))
            return true;
        if (why != nullptr) *why = QString::fromLocal8Bit(reason.c_str());
        return false;
    }
    const QString title = FROM_UTF8(shown.caption);
    if (suffix == QLatin1String("svg")) return WRITE_BYTES(path, PAGE_AS_SVG(*shown.list, view->PAGE_IMAGE(), title), why);
    if (suffix == QLatin1String("pdf")) return WRITE_BYTES(path, PAGE_AS_PDF(*shown.list, view->PAGE_IMAGE(), title), why);
    if (why != nullptr) {
        *why = suffix.isEmpty() ? QStringLiteral("the name has no suffix; the page can be saved as .png, .svg or .pdf")
                                : QStringLiteral("the page cannot be saved as .%1; it can be saved as .png, .svg or .pdf").arg(suffix);
    }
    return false;
}

void page_window::SAVE_PAGE_AS() {
    const QString caption = QStringLiteral("Save Page As");
    QStringList filters;
    for (const char* f : page_filters) filters << QString::fromLatin1(f);
    const QString name = ASK_FOR_FILE(this, caption, QFileInfo(FROM_UTF8(shown.png_name)).fileName(), filters);
    if (name.isEmpty()) return;
    QString why;
    if (!SAVE_PAGE_TO(name, &why)) {
        QMessageBox::warning(this, caption, QStringLiteral("The page could not be saved to %1: %2").arg(name, why));
        return;
    }
    SAY(QStringLiteral("The page is saved to %1.").arg(QFileInfo(name).absoluteFilePath()));
}

bool page_window::EXPORT_PROFILES_TO(const QString& path, QString* why) {
    std::array<int, panel_count> panels{};
    for (int p = 1; p <= panel_count; ++p) panels[static_cast<std::size_t>(p - 1)] = p;
    std::string reason;
    if (WRITE_PROFILES_CSV(QFile::encodeName(path).toStdString(), *shown.plotted, panels, &reason)) return true;
    if (why != nullptr) *why = QString::fromLocal8Bit(reason.c_str());
    return false;
}

void page_window::EXPORT_PROFILES() {
    if (shown.plotted == nullptr) return;
    const QString caption = QStringLiteral("Export Profiles");
    const QString name = ASK_FOR_FILE(this, caption, QStringLiteral("profiles.csv"), {QStringLiteral("CSV table (*.csv)")});
    if (name.isEmpty()) return;
    QString why;
    if (!EXPORT_PROFILES_TO(name, &why)) {
        QMessageBox::warning(this, caption, QStringLiteral("The profiles could not be written to %1: %2").arg(name, why));
        return;
    }
    SAY(QStringLiteral("The 30 profiles are written to %1.").arg(QFileInfo(name).absoluteFilePath()));
}

bool page_window::EXPORT_MAP_TO(const QString& path, QString* why) {
    std::string reason;
    const QString map_name = shown.plotted != nullptr ? FROM_UTF8(shown.plotted->map_file).trimmed() : QString();
    const std::string name = map_name.toStdString();
    if (shown.fields.map != nullptr && orvex::EXPORT_MAP(*shown.fields.map, QFile::encodeName(path).toStdString(), {name, 0.0}, &reason))
        return true;
    if (why != nullptr) *why = shown.fields.map == nullptr ? QStringLiteral("there is no map") : QString::fromLocal8Bit(reason.c_str());
    return false;
}

void page_window::EXPORT_MAP() {
    if (shown.fields.map == nullptr) return;
    const QString caption = QStringLiteral("Export Map");
    const QString name = ASK_FOR_FILE(this, caption, QStringLiteral("map.h5"),
                                      {QStringLiteral("openPMD field mesh (*.h5)"), QStringLiteral("VTK image data (*.vti)"),
                                       QStringLiteral("CSV table (*.csv)")});
    if (name.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);  // the largest map as CSV takes a moment
    QString why;
    const bool written = EXPORT_MAP_TO(name, &why);
    QApplication::restoreOverrideCursor();
    if (!written) {
        QMessageBox::warning(this, caption, QStringLiteral("The map could not be exported to %1: %2").arg(name, why));
        return;
    }
    SAY(QStringLiteral("The unfolded map is written to %1.").arg(QFileInfo(name).absoluteFilePath()));
}

void page_window::OPEN_PANEL(int panel) {
    if (shown.plotted == nullptr || panel < 1 || panel > panel_count) return;
    QWidget* detail = OPEN_DETAIL_WINDOW(*shown.plotted, panel, this);
    if (detail != nullptr) detail->setProperty(detail_panel_property, panel);  // reopened by a field switch
}

}  // namespace orvex
