#pragma once
// The recent files in the File menu, above the entry they are put before, each with its number;
// a separator below them shows once there is one.

#include "RecentFiles.h"

#include <QObject>

#include <array>

class QAction;
class QMenu;

class TRecentFilesMenu : public QObject {
    Q_OBJECT

public:
    TRecentFilesMenu(QMenu& menu, QAction& before);

    void Show(const TRecentFiles& files);

    std::array<QAction*, TRecentFiles::MaxCount> Items{}; // "&1 path" .. "&4 path"

signals:
    void Chosen(int index);

private:
    QAction* Separator = nullptr;
};
