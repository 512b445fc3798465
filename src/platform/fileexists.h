#pragma once

#include <QString>

// True when path names an existing file that is not a folder (a symbolic
// link counts by its target). Empty paths and paths holding a NUL name none.
bool FileExists(const QString& path);
