#include "QtUiServices.h"

#include "MessageNesting.h"
#include "TextConversion.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
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

// The toolkit's file dialog over the active window, as the request describes it; the filter
// "Name (*.ext)" as given. The files chosen, or nothing when cancelled.
std::optional<QStringList> RunFileDialog(const TFileDialogRequest& request,
                                         QFileDialog::AcceptMode mode,
                                         QFileDialog::FileMode files) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.Title),
                       QString::fromStdString(request.Directory),
                       QString::fromStdString(request.Filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(files);
    dialog.setDefaultSuffix(QString::fromStdString(request.DefaultSuffix));
    if (!request.FileName.empty()) {
        dialog.selectFile(QString::fromStdString(request.FileName));
    }
    const TMessageNesting nesting;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles();
}

std::optional<std::string> RunSingleFileDialog(const TFileDialogRequest& request,
                                               QFileDialog::AcceptMode mode) {
    const auto chosen = RunFileDialog(request, mode, QFileDialog::AnyFile);
    return chosen ? std::optional<std::string>(chosen->front().toStdString()) : std::nullopt;
}

// Qt's directory chooser greys out its button for a name that is not a directory yet, and
// refuses such a name; this one takes it, for the caller to create. Qt's own dialog rather than
// the desktop's, so that this holds on every desktop.
class TDirectoryDialog final : public QFileDialog {
public:
    TDirectoryDialog(const QString& title, const QString& start)
        : QFileDialog(QApplication::activeWindow(), title, start) {
        setOption(QFileDialog::DontUseNativeDialog);
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
        EnableChooseForTypedNames();
    }

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (chosen.size() == 1 && !QFileInfo::exists(chosen.front())) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

private:
    // Runs after the dialog's own update of the button, which this connection follows.
    void EnableChooseForTypedNames() {
        auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QPushButton* choose =
            buttons != nullptr ? buttons->button(QDialogButtonBox::Open) : nullptr;
        if (name == nullptr || choose == nullptr) {
            return;
        }
        connect(name, &QLineEdit::textChanged, choose, [choose](const QString& text) {
            if (!text.trimmed().isEmpty()) {
                choose->setEnabled(true);
            }
        });
    }
};

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
    // Any name is taken: a missing file gets the program's own message.
    return RunSingleFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<std::vector<std::string>>
TQtUiServices::OpenFileNames(const TFileDialogRequest& request) {
    const auto chosen = RunFileDialog(request, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles);
    if (!chosen) {
        return std::nullopt;
    }
    std::vector<std::string> files;
    for (const QString& file : *chosen) {
        files.push_back(file.toStdString());
    }
    return files;
}

std::optional<std::string> TQtUiServices::SaveFileName(const TFileDialogRequest& request) {
    return RunSingleFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<std::string> TQtUiServices::ChooseDirectory(const std::string& title,
                                                          const std::string& start) {
    TDirectoryDialog dialog(QString::fromStdString(title), QString::fromStdString(start));
    std::optional<QString> chosen;
    {
        const TMessageNesting nesting;
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().front();
        }
    }
    if (!chosen || !MadeSureExists(*chosen)) {
        return std::nullopt;
    }
    return chosen->toStdString();
}

std::optional<std::int32_t> TQtUiServices::AskNumber(const std::string& title,
                                                     const std::string& label,
                                                     std::int32_t proposed, std::int32_t lowest,
                                                     std::int32_t highest) {
    bool accepted = false;
    const TMessageNesting nesting;
    const int number = QInputDialog::getInt(
        QApplication::activeWindow(), QString::fromStdString(title), QString::fromStdString(label),
        proposed, lowest, highest, 1, &accepted);
    return accepted ? std::optional<std::int32_t>(number) : std::nullopt;
}

bool TQtUiServices::MadeSureExists(const QString& directory) {
    if (QFileInfo::exists(directory)) {
        return true;
    }
    const std::string path = directory.toStdString();
    if (MessageBox("Confirm", "The directory\n" + path + "\ndoes not exist. Create it?",
                   TMsgIcon::None, TMsgButtons::OkCancel) != TMsgResult::Ok) {
        return false;
    }
    if (!QDir().mkpath(directory)) {
        MessageBox("Error", "The directory\n" + path + "\ncould not be created.", TMsgIcon::Error,
                   TMsgButtons::Ok);
        return false;
    }
    return true;
}
