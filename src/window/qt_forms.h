// qt_forms.h: the program's values in Qt's forms: a packed colour as a QColor, UTF-8 text as a
// QString. One definition for the whole window.
//
// WHAT IT IS
//   FROM_PACKED reads a packed colour (surface/surface.h: red in the low byte, then green, then
//   blue) as an opaque QColor. FROM_UTF8 reads a UTF-8 text of any length, not terminated by a
//   NUL (a std::string_view), as a QString.
//
// HOW TO CALL IT
//   painter.setPen(FROM_PACKED(op.colour));
//   setWindowTitle(FROM_UTF8(content.caption));
//
// ASSUMES AND LIMITS
//   A byte sequence that is not UTF-8 becomes U+FFFD, as QString::fromUtf8 makes it. The
//   packed colour has no alpha; the QColor is opaque.
#pragma once

#include <QColor>
#include <QString>

#include <string_view>

#include "surface/surface.h"

namespace orvex {

inline QColor FROM_PACKED(packed_colour c) {
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu), static_cast<int>((c >> 16) & 0xFFu));
}

inline QString FROM_UTF8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orvex
