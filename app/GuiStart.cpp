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
#include "TypedAheadKeys.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSurfaceFormat>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

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

// Which display the window was to open on, for the one line that says none could be reached.
std::string DisplayNamed() {
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
            return std::string(name) + "=" + value + " cannot be reached";
        }
    }
    return "DISPLAY is not set";
}

// Qt aborts the program, with a hint to reinstall it, when it reaches no window system. While the
// application connects to one, what Qt says is held back: a fatal message becomes one line and
// exit code 1; once connected, the held-back messages go out as Qt would have printed them.
class TWindowSystemConnection {
public:
    TWindowSystemConnection() { Previous = qInstallMessageHandler(&Hold); }
    TWindowSystemConnection(const TWindowSystemConnection&) = delete;
    TWindowSystemConnection& operator=(const TWindowSystemConnection&) = delete;
    ~TWindowSystemConnection() { Connected(); }

    void Connected() {
        if (!Holding) {
            return;
        }
        qInstallMessageHandler(Previous);
        Holding = false;
        for (const auto& [type, text] : HeldMessages()) {
            qt_message_output(type, QMessageLogContext(), text);
        }
        HeldMessages().clear();
    }

private:
    static std::vector<std::pair<QtMsgType, QString>>& HeldMessages() {
        static std::vector<std::pair<QtMsgType, QString>> messages;
        return messages;
    }

    static void Hold(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr,
                         "ambla-viewer: no display to open the window on (%s); the modes of "
                         "--help need none\n",
                         DisplayNamed().c_str());
            std::fflush(stderr);
            std::_Exit(1);
        }
        HeldMessages().emplace_back(type, text);
    }

    QtMessageHandler Previous = nullptr;
    bool Holding = true;
};

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
    TWindowSystemConnection connection;
    TAmblaApplication application(argc, argv);
    connection.Connected();
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
    TTypedAheadKeys typedAhead(*mainForm.windowHandle());
    QCoreApplication::instance()->installNativeEventFilter(&typedAhead);
    return TAmblaApplication::exec();
}

} // namespace
