#include "RecentFilesMenu.h"

#include <QAction>
#include <QMenu>

TRecentFilesMenu::TRecentFilesMenu(QMenu& menu, QAction& before) : QObject(&menu) {
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        auto* item = new QAction(QString("&%1 ...").arg(i + 1), &menu);
        menu.insertAction(&before, item);
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, i] { emit Chosen(i); });
        Items[static_cast<std::size_t>(i)] = item;
    }
    Separator = menu.insertSeparator(&before);
    Separator->setVisible(false);
}

void TRecentFilesMenu::Show(const TRecentFiles& files) {
    for (int i = 0; i < files.Count(); ++i) {
        QAction* item = Items[static_cast<std::size_t>(i)];
        item->setText(files.MenuCaption(i));
        item->setVisible(true);
    }
    if (files.Count() > 0) {
        Separator->setVisible(true);
    }
}
