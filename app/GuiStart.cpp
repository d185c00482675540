#include "GuiStart.h"

#include "DeckView.h"
#include "MainWindow.h"
#include "OptionsWindow.h"
#include "ProgramSettings.h"
#include "ProgressDialog.h"
#include "ProjectDataWindow.h"
#include "QtUiServices.h"
#include "QuickReferenceWindow.h"
#include "StartupWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSurfaceFormat>
#include <exception>
#include <functional>

namespace {

// An exception that reaches the event loop is shown, and the program goes on.
class TAmblaApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(activeWindow(), ProductName, error.what());
        }
        return false;
    }
};

// Makes every window of the program, once, and runs the event loop until the main window closes.
int RunWindows(const QString& pendingFileName);

} // namespace

int RunShowingErrors(const std::function<int()>& run) {
    try {
        return run();
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
    return 0;
}

int RunGui(int argc, char* argv[], const QString& pendingFileName) {
    QSurfaceFormat::setDefaultFormat(TGLControl::PreferredFormat());
    TAmblaApplication application(argc, argv);
    // The desktop entry's name, so that the desktop puts the window under the program's icon.
    QGuiApplication::setDesktopFileName("ambla-viewer");
    // No application display name: Qt would append it to every window title.
    TQtUiServices services;
    TScopedUiServices installed(services);
    return RunShowingErrors([&] { return RunWindows(pendingFileName); });
}

namespace {

int RunWindows(const QString& pendingFileName) {
    TMainWindow mainForm;
    TProgressDialog progress(&mainForm);
    TStartupWindow intro(&mainForm);
    TOptionsWindow options(&mainForm);
    TProjectDataWindow statistics(&mainForm);
    TQuickReferenceWindow help(&mainForm);
    mainForm.SetWindows({&progress, &intro, &options, &statistics, &help});
    mainForm.SetPendingFileName(pendingFileName);
    // Without a window manager a maximised window keeps its size; fill the screen ourselves.
    if (const QScreen* screen = mainForm.screen()) {
        mainForm.setGeometry(screen->availableGeometry());
    }
    mainForm.showMaximized();
    return TAmblaApplication::exec();
}

} // namespace
