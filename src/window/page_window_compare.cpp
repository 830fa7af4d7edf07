// page_window_compare.cpp: File > Compare With: another map read by the program into a record
// of its own, paired with this map, and handed to the slice window and the detail windows.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>

#include <string>

#include "field/compare.h"
#include "page/plotted_page.h"
#include "window/file_dialog.h"
#include "window/page_window.h"
#include "window/slice_window.h"

namespace orvex {

page_window::~page_window() {
    if (compared_map != nullptr && shown.fields.drop_other != nullptr) shown.fields.drop_other(compared_map);
}

bool page_window::COMPARE_WITH(const QString& directory, QString* why) {
    const auto refuse = [why](const QString& reason) {
        if (why != nullptr) *why = reason;
        return false;
    };
    if (shown.fields.map == nullptr || shown.plotted == nullptr || shown.fields.load_other == nullptr)
        return refuse(QStringLiteral("this window shows no map to compare"));
    std::string reason;
    const QByteArray name = QFile::encodeName(directory);
    const other_map* loaded = shown.fields.load_other(std::string_view(name.constData(), static_cast<std::size_t>(name.size())), &reason);
    if (loaded == nullptr) return refuse(QString::fromStdString(reason));

    auto paired = std::make_unique<map_pairing>();
    PAIR_MAPS(*shown.fields.map, loaded->grid->full, *paired);
    // The other's file as it is reached from here: its name in its directory.
    paired->other_file = QDir(directory).filePath(QString::fromStdString(loaded->file)).toStdString();
    if (QDir::isAbsolutePath(QString::fromStdString(loaded->file))) paired->other_file = loaded->file;
    // Everything that shows the comparison moves to the new one before the old one is freed.
    std::swap(pairing, paired);
    const other_map* before = compared_map;
    compared_map = loaded;
    if (auto* open = dynamic_cast<slice_window*>(slices.data())) open->SET_COMPARISON(pairing.get());
    REOPEN_DETAIL_WINDOWS(this, shown.plotted, *shown.fields.map, shown.fields.field_flag, shown.plotted->map_file,
                          pairing.get());
    paired.reset();
    if (before != nullptr && shown.fields.drop_other != nullptr) shown.fields.drop_other(before);

    // The notes: this map's, then the other's (each says which map it is about).
    QStringList lines;
    for (const std::string_view note : shown.notes)
        lines.append(QStringLiteral("Note: ") + QString::fromUtf8(note.data(), static_cast<qsizetype>(note.size())));
    for (const std::string& note : compared_map->notes) lines.append(QStringLiteral("Note: ") + QString::fromStdString(note));
    lines.removeDuplicates();
    NOTES()->setText(lines.join(QLatin1Char('\n')));
    NOTES()->setVisible(!lines.isEmpty());

    const map_pairing& p = *pairing;
    SAY(QStringLiteral("Compared with %1: %2 of %3 nodes lie inside its region%4. View > Slice shows the differences; "
                       "detail windows draw both profiles.")
            .arg(QString::fromStdString(p.other_file))
            .arg(p.compared)
            .arg(p.compared + p.left_out)
            .arg(p.coincide ? QStringLiteral(", on its own nodes") : QString()));
    return true;
}

void page_window::ASK_COMPARE() {
    const QString caption = QStringLiteral("Compare With");
    const QString directory = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Compare With: the directory of the other map's plot_orvex_3dfields.dat"),
        DIALOG_START_FOLDER(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (directory.isEmpty()) return;
    QString why;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool compared = COMPARE_WITH(directory, &why);
    QApplication::restoreOverrideCursor();
    if (!compared) QMessageBox::warning(this, caption, QStringLiteral("The map of %1 cannot be compared: %2").arg(directory, why));
}

}  // namespace orvex
