#pragma once

#include <QtGlobal>

// The X keysym of a Windows virtual-key code (0 when the key has none here).
// Letters give their lower-case keysym; the punctuation keys (VK_OEM_*) the
// character that a US keyboard prints on them.
quint32 VirtualKeyToKeysym(int virtualKey);
