// slice_files.cpp: the slice window's files: the slice as CSV, its picture as PNG, SVG or PDF.
//
// Both go through the window's one save dialog and its question before replacing a file, and
// are written whole (a temporary file beside the target, renamed into place).
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStatusBar>
#include <QSvgGenerator>

#include <string>

#include "console/file_output.h"
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

bool slice_window::SAVE_IMAGE_TO(const QString& path, QString* why) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QSize area = view->size();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (suffix == QLatin1String("png")) {
        QImage image(area, QImage::Format_RGB32);
        QPainter painter(&image);
        view->PAINT(painter, area);
        painter.end();
        image.save(&buffer, "PNG");
    } else if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(area);
        svg.setViewBox(QRect(QPoint(0, 0), area));
        svg.setResolution(72);
        svg.setTitle(windowTitle());
        QPainter painter(&svg);
        view->PAINT(painter, area);
    } else if (suffix == QLatin1String("pdf")) {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(windowTitle());
        pdf.setCreator(QStringLiteral("plot_orvex_3dfields"));
        pdf.setResolution(72);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(area), QPageSize::Point), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&pdf);
        view->PAINT(painter, area);
    } else {
        if (why != nullptr) *why = QStringLiteral("the picture can be saved as .png, .svg or .pdf");
        return false;
    }
    return WRITE_WHOLE(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), why);
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
