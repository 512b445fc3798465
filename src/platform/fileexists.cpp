#include "platform/fileexists.h"

#include <QFileInfo>

bool FileExists(const QString& path) {
    // Qt warns about a NUL in a file name; no file can have one.
    if (path.isEmpty() || path.contains(QChar(u'\0')))
        return false;
    const QFileInfo fi(path);
    return fi.exists() && !fi.isDir();
}
