#pragma once

#include <QStringList>

// phrasora-cli rtf [--to text|rtf|html] [FILE]: the RTF engine's views of a
// document. Needs a QGuiApplication for rtf and html.
int CmdRtf(const QStringList& args);
