#pragma once
// The replay's whole seconds as a slider. A click in the groove jumps to the second under the
// mouse, as in media players, rather than a page towards it; dragging then follows the mouse.

#include <QSlider>

class TTimeSlider : public QSlider {
    Q_OBJECT

public:
    explicit TTimeSlider(QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
