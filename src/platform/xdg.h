#pragma once

#include <QString>

// The user's configuration base folder as the XDG Base Directory
// Specification defines it: $XDG_CONFIG_HOME when it is an absolute path,
// otherwise $HOME/.config. Clean, without a trailing "/".
QString XdgConfigHome();
