#include "TypedAheadKeys.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include <cstdint>
#include <cstdlib>
#include <set>

namespace {

// More keys than anybody types ahead: past it, a key goes straight on as the window system sent
// it.
constexpr std::size_t MostWaitingKeys = 4096;
// Longer than a key waits while a load or a step keeps the keys back.
constexpr int LostKeyMilliseconds = 20000;
constexpr int ActivationMilliseconds = 500;

// The program's window with that window system id; none for a window of another program.
QWindow* WindowWithId(xcb_window_t id) {
    for (QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle() != nullptr && window->winId() == id) {
            return window;
        }
    }
    return nullptr;
}

// The window itself when it has no parent, else the top-level window it lies in.
template <typename TWindow> TWindow& TopLevelOf(TWindow& window) {
    TWindow* topLevel = &window;
    while (topLevel->parent() != nullptr) {
        topLevel = topLevel->parent();
    }
    return *topLevel;
}

bool IsActive(const QWindow& window) {
    QWindow* focus = QGuiApplication::focusWindow();
    return focus != nullptr && &TopLevelOf(*focus) == &TopLevelOf(window);
}

// The window itself, or a window it lies in or was opened from.
bool IsWithin(const QWindow& window, const QWindow& outer) {
    for (const QWindow* w = &window; w != nullptr;
         w = w->parent() != nullptr ? w->parent() : w->transientParent()) {
        if (w == &outer) {
            return true;
        }
    }
    return false;
}

// Whether the modal window keeps keys from the window: every other window when it is modal to the
// application, the windows it was opened from when it is modal to its window.
bool IsBlockedBy(const QWindow& window, const QWindow& modal) {
    if (IsWithin(window, modal)) {
        return false;
    }
    if (modal.modality() == Qt::ApplicationModal) {
        return true;
    }
    const QWindow* opener = modal.transientParent();
    return opener != nullptr && IsWithin(*opener, TopLevelOf(window));
}

// A window the window system gives the keyboard when it opens; not a menu, a tool window or one
// that refuses the keyboard.
bool TakesTheKeyboardWhenOpened(const QWindow& window) {
    switch (window.type()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::Tool:
    case Qt::SplashScreen:
        return false;
    default:
        return !window.flags().testFlag(Qt::WindowDoesNotAcceptFocus);
    }
}

bool IsKey(const xcb_generic_event_t& event) {
    const auto type = static_cast<std::uint8_t>(event.response_type & 0x7f);
    return type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE;
}

bool IsSentByAClient(const xcb_generic_event_t& event) {
    return (event.response_type & 0x80) != 0;
}

} // namespace

TTypedAheadKeys::TTypedAheadKeys(QWindow& mainWindow) : MainWindow(mainWindow) {
    // A key that never comes back, for whatever reason, must not hold up the keyboard for good.
    LostKeyWatch.setSingleShot(true);
    LostKeyWatch.setInterval(LostKeyMilliseconds);
    connect(&LostKeyWatch, &QTimer::timeout, this, [this] { HandOnNext(); });
    // The window system may not make a window active when asked (another program keeps the
    // keyboard): the key then goes on after a moment, as it came.
    ActivationWatch.setSingleShot(true);
    ActivationWatch.setInterval(ActivationMilliseconds);
    connect(&ActivationWatch, &QTimer::timeout, this, [this] { HandOnNext(); });
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this] {
        if (ActivationWatch.isActive()) {
            ActivationWatch.stop();
            HandOnNext();
        }
    });
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        Connection = x11->connection();
    }
}

QWindow* TTypedAheadKeys::WindowTakingKeys(QWindow* addressed) const {
    // A popup menu has the keyboard to itself while it is open.
    if (addressed != nullptr && addressed->type() == Qt::Popup && addressed->isVisible()) {
        return addressed;
    }
    if (QWindow* modal = QGuiApplication::modalWindow();
        modal != nullptr && modal->isVisible() &&
        (addressed == nullptr || IsBlockedBy(*addressed, *modal))) {
        return modal;
    }
    // The keyboard went on to another of the program's windows after the key was typed.
    if (QWindow* focus = QGuiApplication::focusWindow();
        focus != nullptr && focus->isVisible() &&
        (addressed == nullptr || &TopLevelOf(*focus) != &TopLevelOf(*addressed))) {
        return focus;
    }
    if (addressed != nullptr && addressed->isVisible()) {
        return addressed;
    }
    return MainWindow.isVisible() ? &MainWindow : addressed;
}

QWindow* TTypedAheadKeys::NewlyOpenedWindow() {
    QWindow* opened = nullptr;
    std::set<QWindow*> open;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && TakesTheKeyboardWhenOpened(*window)) {
            open.insert(window);
            if (OpenWindows.count(window) == 0) {
                opened = window;
            }
        }
    }
    OpenWindows = std::move(open);
    return opened;
}

// Whether the window system took the key for this program; false for a window gone meanwhile.
bool TTypedAheadKeys::SendToProgram(const xcb_key_press_event_t& key) const {
    const xcb_void_cookie_t sent = xcb_send_event_checked(
        Connection, 0, key.event, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&key));
    xcb_generic_error_t* error = xcb_request_check(Connection, sent);
    std::free(error);
    return error == nullptr;
}

QWindow* TTypedAheadKeys::Readdress(xcb_key_press_event_t& key) const {
    QWindow* addressed = WindowWithId(key.event);
    QWindow* taker = WindowTakingKeys(addressed);
    if (taker != nullptr && taker != addressed) {
        key.event = static_cast<xcb_window_t>(taker->winId());
        key.child = XCB_NONE;
    }
    return taker;
}

bool TTypedAheadKeys::IsHandedOn(const xcb_key_press_event_t& key) const {
    return KeyOnItsWay && (key.response_type & 0x7f) == (OnItsWay.response_type & 0x7f) &&
           key.detail == OnItsWay.detail && key.time == OnItsWay.time &&
           key.state == OnItsWay.state && key.event == OnItsWay.event;
}

void TTypedAheadKeys::HandOnNext() {
    KeyOnItsWay = false;
    if (Waiting.empty()) {
        return;
    }
    // A window that the key before opened takes the keys typed after it, as the window system
    // gives it the keyboard; and a window's shortcuts answer only while it is the active one, so
    // a key for a window that has just lost the keyboard to a window now closed waits until it
    // has it back.
    QWindow* opened = NewlyOpenedWindow();
    xcb_key_press_event_t key = Waiting.front();
    QWindow* taker = opened != nullptr ? opened : Readdress(key);
    if (taker != nullptr && !IsActive(*taker) && !ActivationAsked) {
        ActivationAsked = true;
        ActivationWatch.start();
        TopLevelOf(*taker).requestActivate();
        return;
    }
    Readdress(key);
    ActivationAsked = false;
    ActivationWatch.stop();
    Waiting.pop_front();
    if (!SendToProgram(key)) {
        // The window went away meanwhile: the key goes to the main window, or is dropped.
        key.event = static_cast<xcb_window_t>(MainWindow.winId());
        if (!SendToProgram(key)) {
            HandOnNext();
            return;
        }
    }
    KeyOnItsWay = true;
    OnItsWay = key;
    LostKeyWatch.start();
}

bool TTypedAheadKeys::nativeEventFilter(const QByteArray& eventType, void* message,
                                        qintptr* /*result*/) {
    if (Connection == nullptr || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto& event = *static_cast<const xcb_generic_event_t*>(message);
    if (!IsKey(event)) {
        return false;
    }
    // A release has the same fields as a press.
    auto& key = *static_cast<xcb_key_press_event_t*>(message);
    if (IsSentByAClient(event)) {
        if (IsHandedOn(key)) {
            // Carried out by Qt after this returns; the next key follows once it has been.
            LostKeyWatch.stop();
            Readdress(key);
            QTimer::singleShot(0, this, [this] { HandOnNext(); });
        }
        return false;
    }
    if (Waiting.size() >= MostWaitingKeys) {
        return false;
    }
    Waiting.push_back(key);
    if (!KeyOnItsWay) {
        HandOnNext();
    }
    return true; // it comes back in its turn
}
