// shown_page.h: the page drawn from its display list at a scale below 1:1, for the screen.
//
// WHAT IT IS
//   PAINT_PAGE_SHOWN draws the page for a view that shows it smaller than its pixels (Fit on a
//   screen smaller than the page, or zoomed out): each operation of the display list is placed
//   on the device's own pixels, as the raster would be drawn on a page of that size. Page pixel
//   (x, y) covers the device's [(x - 1) s, x s) x [(y - 1) s, y s); a one-pixel line runs
//   through the centre of the device pixel that holds its page pixel's centre, one device
//   pixel wide (frames and grid lines stay black and whole); fills and clips cover the device
//   pixels of their page pixels; texts are set by the toolkit in the same family at their shown
//   size (the page's 8-pixel numbers at 80% in a 6.4-pixel font), hinted vertically, so they
//   keep their width and stay legible instead of being shrunk from large outlines.
//
// HOW TO CALL IT
//   QPainter painter(&device_pixmap);               // no transform: one unit per device pixel
//   PAINT_PAGE_SHOWN(painter, DISPLAY_LIST(), raster, 0.8);
//
// ASSUMES AND LIMITS
//   0 < scale < 1 (above it vector_page.h's replay is the crisp one). A QGuiApplication exists.
//   The device is at least ceil(1280 s) x ceil(800 s) pixels; the page is drawn from (0, 0). A
//   display list that could not hold the page (complete false) is replaced by the raster
//   scaled smoothly.
#pragma once

#include <QImage>
#include <QPainter>

#include "surface/display_list.h"

namespace orvex {

void PAINT_PAGE_SHOWN(QPainter& painter, const display_list& list, const QImage& raster, double scale);

}  // namespace orvex
