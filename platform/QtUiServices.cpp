#include "QtUiServices.h"

#include <QFileDialog>

#include "MessageNesting.h"
#include "TextConversion.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace {

QMessageBox::Icon BoxIcon(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::None:
        return QMessageBox::NoIcon;
    case TMsgIcon::Exclamation:
        return QMessageBox::Warning;
    case TMsgIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(TMsgButtons buttons) {
    if (buttons == TMsgButtons::OkCancel) {
        return QMessageBox::Ok | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

TMsgResult TQtUiServices::MessageBox(const std::string& title, const std::string& text,
                                     TMsgIcon icon, TMsgButtons buttons) {
    QMessageBox box(BoxIcon(icon), FromFileText(title), FromFileText(text), BoxButtons(buttons),
                    QApplication::activeWindow());
    // Texts quote captions and paths from files: never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    const TMessageNesting nesting;
    const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    if (buttons == TMsgButtons::Ok || chosen == QMessageBox::Ok) {
        return TMsgResult::Ok;
    }
    return TMsgResult::Cancel;
}

void TQtUiServices::ProcessMessages() {
    ProcessPendingMessages();
}

void CentreOnParent(QWidget& window) {
    const QWidget* parent = window.parentWidget();
    if (parent == nullptr) {
        return;
    }
    const QWidget* mainWindow = parent->window();
    QRect placed(QPoint(), window.size());
    placed.moveCenter(mainWindow->geometry().center());
    if (const QScreen* screen = mainWindow->screen()) {
        const QRect area = screen->availableGeometry();
        placed.moveLeft(
            std::max(area.left(), std::min(placed.left(), area.right() - placed.width() + 1)));
        placed.moveTop(
            std::max(area.top(), std::min(placed.top(), area.bottom() - placed.height() + 1)));
    }
    window.move(placed.topLeft());
}

std::optional<std::string> TQtUiServices::OpenFileName(const TFileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.Title),
                       QString::fromStdString(request.Directory),
                       QString::fromStdString(request.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile); // a missing file gets the program's own message
    dialog.setDefaultSuffix(QString::fromStdString(request.DefaultSuffix));
    if (!request.FileName.empty()) {
        dialog.selectFile(QString::fromStdString(request.FileName));
    }
    const TMessageNesting nesting;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}
