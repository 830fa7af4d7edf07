// vector_page.h: the page replayed from its display list as vectors: in the window, as SVG and
// as PDF.
//
// WHAT IT IS
//   PAINT_PAGE_VECTORS paints the display list (plot/display_list.h) with a QPainter whose
//   transform maps page coordinates to the device: the same lines, rectangles, texts and pixels
//   as the raster, clipped the same way, crisp at any scale. PAGE_AS_SVG and PAGE_AS_PDF give a
//   page of the page's own size, 1280 x 800 units (SVG user units; PDF points), holding that
//   replay with page pixel (x, y) the unit square from (x - 1, y - 1): shown at its own size,
//   the page's one-pixel lines run through pixel centres and fall on the PNG's pixels. A display list that could not hold the whole page (complete is false) is replaced
//   by the raster image, so nothing is ever missing.
//
// HOW TO CALL IT
//   QPainter painter(widget); painter.scale(s, s); painter.translate(-0.5, -0.5);
//   PAINT_PAGE_VECTORS(painter, DISPLAY_LIST(), raster);
//   const QByteArray svg = PAGE_AS_SVG(list, raster, "ORVEX-3D-Fields");
//
// ASSUMES AND LIMITS
//   A QApplication (or QGuiApplication) exists: fonts are Qt's. Texts are drawn with the family
//   the raster used, at its size, slant and width; glyph positions follow the font's own
//   advances, so a text may end a fraction of a pixel from where the raster's ends.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <vector>

#include "surface/display_list.h"

namespace orvex {

void PAINT_PAGE_VECTORS(QPainter& painter, const display_list& list, const QImage& raster);

// The part both replays share (shown_page.h draws below 1:1): one text operation in its font
// from fonts. shown_scale 0: in page units, the font a reference size scaled to the text's em;
// above 0: in device pixels at that scale, the font already at its shown size, the baseline on
// a whole pixel. (Their colours: FROM_PACKED, window/qt_forms.h.)
void PAINT_DISPLAY_TEXT(QPainter& painter, const display_list& list, const display_op& op,
                        const std::vector<QFont>& fonts, double shown_scale);

QByteArray PAGE_AS_SVG(const display_list& list, const QImage& raster, const QString& title);
QByteArray PAGE_AS_PDF(const display_list& list, const QImage& raster, const QString& title);

}  // namespace orvex
