// file_dialog.h: the one dialog through which the window asks for the name of a file to write.
//
// WHAT IT IS
//   ASK_FOR_FILE shows the toolkit's own save dialog (the same on every desktop, and one a test
//   can type into) and gives back the full name of a file the user has agreed to write:
//     - it opens in the folder last used by a dialog in this run, else in the run's working
//       directory, never in a folder the toolkit remembers from other runs; if neither folder
//       exists any more it says so and asks nothing;
//     - the name typed is taken as one name, quotes and all, in the folder the dialog shows;
//     - a name without a suffix gets the chosen filter's; a name with a suffix no filter
//       accepts is refused with a message and the dialog comes back with that name;
//     - an existing file is replaced only after a Yes; after a No the dialog comes back;
//     - a name in a folder that no longer exists is refused with a message, the dialog back;
//     - a name that reaches a file the run reads (KEEP_FROM_DIALOGS: the map, the control file;
//       under another spelling or through a link too) is refused with a message, the dialog
//       back: nothing the window saves replaces its own input.
//   Whatever the user does, the function returns once the dialog is accepted with a name that
//   may be written, or cancelled (empty).
//
// HOW TO CALL IT
//   const QString name = ASK_FOR_FILE(this, QStringLiteral("Export Slice"), QStringLiteral("slice.csv"),
//                                     {QStringLiteral("CSV table (*.csv)")});
//   if (name.isEmpty()) return;  // cancelled
//   write the file to name (WRITE_FILE_ATOMICALLY), then REMEMBER_FOLDER_OF(name) is not needed:
//   the folder is remembered when the name is given back.
//
// ASSUMES AND LIMITS
//   Each filter is "Words (*.suffix ...)"; its patterns give the suffixes it accepts (matched
//   without regard to case); a filter of "*" alone accepts any suffix. The suggested name is a
//   bare file name. Called from the toolkit's thread only.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace orvex {

QString ASK_FOR_FILE(QWidget* parent, const QString& caption, const QString& suggested_name, const QStringList& filters);

// The folder the next dialog opens in: the last one used in this run, else the working
// directory; empty when neither exists any more.
QString DIALOG_START_FOLDER();

// The files no dialog gives back, named from the working directory as it is now (called once
// the run's map is read; a later call replaces the list).
void KEEP_FROM_DIALOGS(const QStringList& files);

}  // namespace orvex
