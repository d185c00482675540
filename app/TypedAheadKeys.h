#pragma once
// Keys typed ahead of a window that the program opens or closes, or of a load, are carried out in
// order by the window that takes keys when each one's turn comes, as if they had been typed slowly.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

#include <xcb/xcb.h>

#include <deque>
#include <set>

class QWindow;

// The window system sends a key to the window that had the keyboard when the key was typed, and
// Qt takes in every key that has arrived before it carries out the first of them. A key typed
// right after the one that opens a modal window thus still goes to the window below, which the
// modal window blocks by the time the key is carried out, and Qt drops it; a key typed right after
// the one that closes a window goes to the closed window.
//
// So the keys wait here, in order, and are handed to Qt one at a time: each goes back through the
// window system once the key before it has been carried out, to the window that takes keys then:
// a modal window, the window addressed, or the one that has the keyboard now.
class TTypedAheadKeys final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit TTypedAheadKeys(QWindow& mainWindow);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The window a key sent to the addressed window (none: a window gone meanwhile) belongs to
    // now.
    QWindow* WindowTakingKeys(QWindow* addressed) const;

private:
    // A window shown since the last key was handed on that the window system gives the keyboard.
    QWindow* NewlyOpenedWindow();
    // The next key waiting, sent back to this program through the window system.
    void HandOnNext();
    // Whether the key is the one handed on last, come back.
    bool IsHandedOn(const xcb_key_press_event_t& key) const;
    // The key sent on to the window that takes it now, which comes back; none when no window does.
    QWindow* Readdress(xcb_key_press_event_t& key) const;
    bool SendToProgram(const xcb_key_press_event_t& key) const;

    QWindow& MainWindow;
    xcb_connection_t* Connection = nullptr;
    std::deque<xcb_key_press_event_t> Waiting;
    // The key handed on last, until Qt has carried it out.
    bool KeyOnItsWay = false;
    xcb_key_press_event_t OnItsWay{};
    QTimer LostKeyWatch;
    // Waiting for the window that takes the next key to become the active one.
    QTimer ActivationWatch;
    bool ActivationAsked = false;
    std::set<QWindow*> OpenWindows;
};
