// slice_files.cpp: the slice window's files: the slice as CSV, its picture as PNG, SVG or PDF.
//
// Both go through the window's one save dialog and its question before replacing a file, and
// are written whole (a temporary file beside the target, renamed into place).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>

#include <optional>
#include <string>

#include "console/file_output.h"
#include "picture/scene.h"
#include "picture/slice_picture.h"
#include "window/file_dialog.h"
#include "window/slice_view.h"
#include "window/slice_window.h"

namespace orvex {

namespace {

bool WRITE_WHOLE(const QString& path, std::string_view bytes, QString* why) {
    std::string reason;
    if (WRITE_FILE_ATOMICALLY(QFile::encodeName(path).toStdString(), bytes, &reason)) return true;
    if (why != nullptr) *why = QString::fromLocal8Bit(reason.c_str());
    return false;
}

// A file name from the caption: "Ez_XY_k201", "absE_diff_XZ_j25".
QString START_NAME(const slice_cut& cut) {
    const std::string_view name = QUANTITY_NAME(cut.field, cut.quantity);
    QString quantity = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    quantity.replace(QLatin1Char('|'), QString());
    quantity.replace(QLatin1Char(' '), QLatin1Char('_'));  // "Ez diff": Ez_diff
    if (MAP_QUANTITY(cut.quantity) == slice_quantity::magnitude) quantity = QStringLiteral("abs") + quantity;
    const char normal = cut.plane == slice_plane::xy ? 'k' : cut.plane == slice_plane::xz ? 'j' : 'i';
    return QStringLiteral("%1_%2_%3%4").arg(quantity, QString::fromLatin1(PLANE_NAME(cut.plane).data(), 2)).arg(QLatin1Char(normal)).arg(cut.node);
}

}  // namespace

bool slice_window::EXPORT_SLICE_TO(const QString& path, QString* why) {
    const std::string text = SLICE_CSV(*grid, CUT(), map_file);
    return WRITE_WHOLE(path, text, why);
}

// The picture --slice writes of the same cut: at the view's size (a PDF on the print page), the
// part shown, stretched or not as on the screen.
bool slice_window::SAVE_IMAGE_TO(const QString& path, QString* why) {
    const std::string file = QFile::encodeName(path).toStdString();
    const std::optional<picture_format> format = PICTURE_FORMAT_OF(file);
    if (!format) {
        if (why != nullptr) *why = QStringLiteral("the picture can be saved as .png, .svg or .pdf");
        return false;
    }
    slice_look look = view->LOOK(view->size());
    if (*format == picture_format::pdf) {
        const slice_look shown = look;
        look = print_look;
        look.stretch = shown.stretch;
        look.whole = shown.whole;
        look.x0 = shown.x0, look.x1 = shown.x1, look.y0 = shown.y0, look.y1 = shown.y1;
    }
    shown_slice slice = view->SHOWN();
    slice.source = map_file;
    std::string bytes, reason;
    if (!SCENE_BYTES(SLICE_SCENE(slice, look), *format, bytes, reason)) {
        if (why != nullptr) *why = QString::fromStdString(reason);
        return false;
    }
    return WRITE_WHOLE(path, bytes, why);
}

void slice_window::EXPORT_SLICE() {
    const QString caption = QStringLiteral("Export Slice");
    const QString name = ASK_FOR_FILE(this, caption, START_NAME(CUT()) + QStringLiteral(".csv"), {QStringLiteral("CSV table (*.csv)")});
    if (name.isEmpty()) return;
    QString why;
    if (!EXPORT_SLICE_TO(name, &why)) {
        QMessageBox::warning(this, caption, QStringLiteral("The slice could not be written to %1: %2").arg(name, why));
        return;
    }
    statusBar()->showMessage(QStringLiteral("The slice is written to %1.").arg(QFileInfo(name).absoluteFilePath()), 6000);
}

void slice_window::SAVE_IMAGE() {
    const QString caption = QStringLiteral("Save Image");
    const QString name = ASK_FOR_FILE(this, caption, START_NAME(CUT()) + QStringLiteral(".png"),
                                      {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing, vectors (*.svg)"),
                                       QStringLiteral("PDF document, vectors (*.pdf)")});
    if (name.isEmpty()) return;
    QString why;
    if (!SAVE_IMAGE_TO(name, &why)) {
        QMessageBox::warning(this, caption, QStringLiteral("The picture could not be saved to %1: %2").arg(name, why));
        return;
    }
    statusBar()->showMessage(QStringLiteral("The picture is saved to %1.").arg(QFileInfo(name).absoluteFilePath()), 6000);
}

}  // namespace orvex
