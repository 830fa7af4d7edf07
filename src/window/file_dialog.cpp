// file_dialog.cpp: the window's one save dialog: where it opens, what name it gives back, and
// the questions it asks before giving it.
#include "window/file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

#include <string>

#include "console/file_output.h"

namespace orvex {

namespace {

// The folder of the last file a dialog gave back in this run.
QString last_folder;

// The files the run reads, by their absolute names (KEEP_FROM_DIALOGS).
QStringList kept_files;

// The kept file that name reaches, or empty.
QString KEPT_FILE_AT(const QString& name) {
    const std::string path = QFile::encodeName(name).toStdString();
    for (const QString& kept : kept_files)
        if (SAME_FILE(working_directory, path, working_directory, QFile::encodeName(kept).toStdString())) return kept;
    return {};
}

// The suffixes a filter accepts, lower case ("png" from "PNG image (*.png)"); "*" for any.
QStringList SUFFIXES_OF(const QString& filter) {
    QStringList suffixes;
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open) return suffixes;
    for (const QString& pattern : filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (pattern == QLatin1String("*")) suffixes << QStringLiteral("*");
        else if (pattern.startsWith(QLatin1String("*."))) suffixes << pattern.mid(2).toLower();
    }
    return suffixes;
}

// ".png, .svg or .pdf"
QString LISTED(const QStringList& suffixes) {
    QStringList dotted;
    for (const QString& s : suffixes) dotted << QLatin1Char('.') + s;
    if (dotted.size() < 2) return dotted.join(QString());
    const QString last = dotted.takeLast();
    return dotted.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

bool FOLDER_THERE(const QString& folder) { return !folder.isEmpty() && QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir(); }

// What the user typed, as one name: the dialog's own reading splits a name with double quotes
// into several. Empty when nothing was typed and nothing chosen.
QString TYPED_NAME(const QFileDialog& dialog) {
    if (const auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); edit != nullptr && !edit->text().isEmpty())
        return edit->text();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

}  // namespace

void KEEP_FROM_DIALOGS(const QStringList& files) {
    kept_files.clear();
    for (const QString& file : files)
        if (!file.isEmpty()) kept_files << QFileInfo(file).absoluteFilePath();
}

QString DIALOG_START_FOLDER() {
    if (FOLDER_THERE(last_folder)) return last_folder;
    // Empty when the working directory has been removed (the system cannot name it then).
    const QString working = QDir::currentPath();
    return FOLDER_THERE(working) ? working : QString();
}

QString ASK_FOR_FILE(QWidget* parent, const QString& caption, const QString& suggested_name, const QStringList& filters) {
    QString folder = DIALOG_START_FOLDER();
    if (folder.isEmpty()) {
        QMessageBox::warning(parent, caption,
                             QStringLiteral("The folder this run was started in no longer exists, so a file name has no "
                                            "folder to go in. Nothing is written."));
        return {};
    }
    QStringList accepted;
    for (const QString& filter : filters) accepted << SUFFIXES_OF(filter);
    accepted.removeDuplicates();
    QString typed = suggested_name;
    QString filter = filters.value(0);
    while (true) {
        QFileDialog dialog(parent, caption, folder);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filter);
        dialog.selectFile(typed);
        if (dialog.exec() != QDialog::Accepted) return {};
        folder = dialog.directory().absolutePath();
        filter = dialog.selectedNameFilter();
        typed = TYPED_NAME(dialog);
        if (typed.isEmpty()) continue;
        QFileInfo name(QDir(folder).filePath(typed));
        const QString suffix = name.suffix().toLower();
        const QStringList offered = SUFFIXES_OF(filter);
        if (suffix.isEmpty() && !offered.isEmpty() && offered.front() != QLatin1String("*")) {
            name.setFile(name.filePath() + QLatin1Char('.') + offered.front());
        } else if (!accepted.contains(QStringLiteral("*")) && !accepted.contains(suffix)) {
            QMessageBox::warning(parent, caption,
                                 QStringLiteral("%1 cannot be written: the name must end in %2.").arg(name.fileName(), LISTED(accepted)));
            continue;
        }
        if (!name.absoluteDir().exists()) {
            QMessageBox::warning(parent, caption, QStringLiteral("The folder %1 does not exist.").arg(name.absolutePath()));
            continue;
        }
        if (const QString kept = KEPT_FILE_AT(name.absoluteFilePath()); !kept.isEmpty()) {
            QMessageBox::warning(parent, caption,
                                 QStringLiteral("%1 is %2, which this run reads; it is never replaced. Choose another name.")
                                     .arg(name.fileName(), kept));
            continue;
        }
        if (name.exists() || name.isSymLink()) {
            const auto answer = QMessageBox::question(
                parent, caption, QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(name.absoluteFilePath()),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            if (answer != QMessageBox::Yes) continue;
        }
        last_folder = name.absolutePath();
        return name.absoluteFilePath();
    }
}

}  // namespace orvex
