#pragma once

#include <QString>
#include <QStringList>

// The desktop commands of phrasora-cli. Each takes the arguments after its
// name, prints its own --help, and returns the exit code: 0 done, 1 failed,
// 2 wrong usage.

// windows: one line per window of the send dialog's list, front to back:
// "0x<hex id>", a tab, the class name, a tab, the title.
int CmdWindows(const QStringList& args);
// type --window ID|active TEXT: activates the window as the send dialog
// does and types TEXT ("-" reads it from standard input) as a text.
int CmdType(const QStringList& args);
// keys --window ID|active CODES: sends a key string of decimal codes
// separated by commas (252,118,253 is Ctrl+V).
int CmdKeys(const QStringList& args);

QString WindowsUsage();
QString TypeUsage();
QString KeysUsage();
