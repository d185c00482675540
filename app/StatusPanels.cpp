#include "StatusPanels.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

namespace {

constexpr int StatusPathWidth = 500;

} // namespace

TStatusPanels::TStatusPanels(QStatusBar& bar) : Bar(bar) {
    const auto addPanel = [&bar](int width, int stretch) {
        auto* panel = new QLabel(&bar);
        // Panels keep their widths but grow rather than cut their text off.
        panel->setMinimumWidth(width);
        bar.addWidget(panel, stretch);
        return panel;
    };
    LightsPanel = addPanel(50, 0);
    TimePanel = addPanel(100, 0);
    SavedPanel = addPanel(100, 0);
    MessagePanel = addPanel(50, 1);
}

QString TStatusPanels::Shortened(const QString& path) const {
    const QFontMetrics metrics(Bar.font());
    return metrics.elidedText(path, Qt::ElideMiddle, StatusPathWidth);
}
