#include "TimeSlider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

TTimeSlider::TTimeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void TTimeSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect groove =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const QRect handle =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        const QPoint at = event->position().toPoint();
        if (!handle.contains(at)) {
            // The handle's centre goes under the mouse, so the press that follows grabs it.
            const int span = groove.width() - handle.width();
            const int x = at.x() - groove.x() - handle.width() / 2;
            setValue(
                QStyle::sliderValueFromPosition(minimum(), maximum(), x, span, option.upsideDown));
        }
    }
    QSlider::mousePressEvent(event);
}
