#pragma once

#include "platform/hotkeys.h"
#include "platform/x11/x11connection.h"

#include <QHash>
#include <QList>
#include <memory>

class QSocketNotifier;

// Hot keys as key grabs on the root window, one for every combination of
// Num Lock and Caps Lock so that the locks do not matter. A grab another
// client holds comes back as BadAccess at once; that hot key is then off.
// Presses arrive on the thread that created the object (the GUI thread)
// through a socket notifier on a connection of our own; grabs follow the
// keyboard mapping when it changes.
class TX11HotKeys : public IHotKeys {
public:
    explicit TX11HotKeys(const QByteArray& displayName = {});
    ~TX11HotKeys() override;
    TX11HotKeys(const TX11HotKeys&) = delete;
    TX11HotKeys& operator=(const TX11HotKeys&) = delete;

    bool IsOpen() const { return m_x.IsOpen(); }

    bool Register(int id, quint16 shortcutCode) override;
    void Unregister(int id) override;
    void SetHandler(Handler handler) override { m_handler = std::move(handler); }

private:
    struct Grab {
        quint16 code = 0;
        xcb_keycode_t key = 0;
        uint16_t modifiers = 0;
    };

    void ReadModifierMasks();
    xcb_keycode_t KeycodeFor(quint32 keysym);
    bool GrabAll(Grab& grab);
    void UngrabAll(const Grab& grab);
    QList<uint16_t> LockCombinations() const;
    void ProcessEvents();

    TX11Connection m_x;
    std::unique_ptr<QSocketNotifier> m_notifier;
    Handler m_handler;
    QHash<int, Grab> m_grabs;
    uint16_t m_altMask = XCB_MOD_MASK_1;
    uint16_t m_numLockMask = XCB_MOD_MASK_2;
};
