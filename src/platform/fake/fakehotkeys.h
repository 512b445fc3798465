#pragma once

#include "platform/hotkeys.h"

#include <QMap>
#include <QSet>
#include <QStringList>

// Hot keys without a desktop: claims succeed unless the code is listed as
// taken; Press() plays a press of a claimed code.
class TFakeHotKeys : public IHotKeys {
public:
    QSet<quint16> taken;
    QMap<int, quint16> claimed;
    QStringList log;

    bool Register(int id, quint16 shortcutCode) override;
    void Unregister(int id) override;
    void SetHandler(Handler handler) override { m_handler = std::move(handler); }
    // True when a hot key held the code and was reported.
    bool Press(quint16 shortcutCode);

private:
    Handler m_handler;
};
