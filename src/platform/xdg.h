#pragma once

#include <QString>

// The user's configuration base folder by the XDG base-directory rules:
// $XDG_CONFIG_HOME when it is an absolute path,
// otherwise $HOME/.config. Clean, without a trailing "/".
QString XdgConfigHome();
