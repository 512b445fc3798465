#include "platform/fake/fakehotkeys.h"

bool TFakeHotKeys::Register(int id, quint16 shortcutCode) {
    log << QStringLiteral("register %1 %2").arg(id).arg(shortcutCode);
    claimed.remove(id);
    if (taken.contains(shortcutCode))
        return false;
    claimed.insert(id, shortcutCode);
    return true;
}

void TFakeHotKeys::Unregister(int id) {
    log << QStringLiteral("unregister %1").arg(id);
    claimed.remove(id);
}

bool TFakeHotKeys::Press(quint16 shortcutCode) {
    for (auto it = claimed.cbegin(); it != claimed.cend(); ++it) {
        if (it.value() == shortcutCode) {
            if (m_handler)
                m_handler(it.key());
            return true;
        }
    }
    return false;
}
