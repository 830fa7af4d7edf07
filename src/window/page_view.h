// page_view.h: the widget that paints the page, fit to its size or at a fixed scale.
//
// WHAT IT IS
//   Fit (the default): the whole page scaled into the widget, its aspect kept, centred, smoothed
//   when scaled down so the thin frames stay visible. At a fixed scale: the page from the
//   top-left corner at that scale (a scroll area around it scrolls), pixels shown as they are
//   at 1:1 and above.
//
// HOW TO CALL IT
//   auto* view = new page_view(image); view->fit = false; view->scale = 2.0; view->update();
//
// ASSUMES AND LIMITS
//   The image is the page, one image pixel per page pixel; the widget never changes it.
#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>

namespace orvex {

class page_view : public QWidget {
public:
    explicit page_view(QImage image);

    QImage page;
    bool fit = true;
    double scale = 1.0;

    // The scale at which the whole page fits into size.
    double FIT_SCALE(const QSize& size) const;

    QSize sizeHint() const override { return page.size(); }

protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace orvex
