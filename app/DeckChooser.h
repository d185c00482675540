#pragma once
// The chooser of the deck shown. It shows the chosen caption middle-elided where the chooser is
// too narrow for it, with the whole caption as its tool tip, and lists every caption whole.

#include <QComboBox>
#include <QString>

class TDeckChooser : public QComboBox {
public:
    explicit TDeckChooser(QWidget* parent);

    // Wide enough for the longest caption with the chooser's frame and arrow.
    int PreferredWidth() const;
    // The chosen caption as the chooser shows it at its width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showPopup() override;

private:
    void ShowWholeCaptionWhenCut();
    int LabelWidth() const;
};
