// page_view.cpp: painting the page fit to the widget or at a fixed scale.
#include "window/page_view.h"

#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <utility>

namespace orvex {

page_view::page_view(QImage image) : page(std::move(image)) {
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

double page_view::FIT_SCALE(const QSize& size) const {
    return std::min(static_cast<double>(size.width()) / page.width(), static_cast<double>(size.height()) / page.height());
}

void page_view::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double s = fit ? FIT_SCALE(size()) : scale;
    const int w = std::max(1, static_cast<int>(page.width() * s));
    const int h = std::max(1, static_cast<int>(page.height() * s));
    const int x = fit ? (width() - w) / 2 : 0;
    const int y = fit ? (height() - h) / 2 : 0;
    // Scaled down, smoothing keeps the thin frames visible; at 1:1 and above the pixels are
    // shown as they are.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, s < 1.0);
    painter.drawImage(QRect(x, y, w, h), page);
}

}  // namespace orvex
