#pragma once
// Views > Scale bar: a scale bar in metres in the view, in its shots and in its videos, the cell
// as long as the options say; kept in the settings.

#include <QObject>

class QAction;
class TDeckView;
class TProgramSettings;
struct TOptions;

class TScaleBarSwitch : public QObject {
    Q_OBJECT

public:
    TScaleBarSwitch(const TOptions& options, TDeckView& view, QAction& action, QObject* parent);

    void ReadSettings(TProgramSettings& settings);
    bool WriteSettings(TProgramSettings& settings) const;
    // Shows the bar as the switch and the cell size of the options now say.
    void Show();

private:
    const TOptions& Options;
    TDeckView& View;
    QAction& Action;
    bool ShownAsRead = false;
};
