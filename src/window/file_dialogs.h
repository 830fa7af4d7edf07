// file_dialogs.h: the one way the window's files are named: a save dialog, and the question
// before a file is replaced.
//
// WHAT IT IS
//   ASK_FOR_NAME shows the toolkit's own save dialog (the same on every desktop, and one a test
//   can type into) and gives the name chosen, with the suffix of the chosen filter when it had
//   none, or an empty name when the user cancelled. MAY_WRITE is true when the file does not
//   exist or the user agrees to replace it; that question is always asked.
//
// HOW TO CALL IT
//   const QString name = ASK_FOR_NAME(this, caption, start, {QStringLiteral("CSV table (*.csv)")});
//   if (name.isEmpty() || !MAY_WRITE(this, caption, name)) return;
//
// ASSUMES AND LIMITS
//   A QApplication exists; the dialogs are modal to parent.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace orvex {

QString ASK_FOR_NAME(QWidget* parent, const QString& caption, const QString& start, const QStringList& filters);
bool MAY_WRITE(QWidget* parent, const QString& caption, const QString& name);

}  // namespace orvex
