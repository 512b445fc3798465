#include "settings/history.h"

#include "platform/fileexists.h"
#include "settings/mainfunc.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <cstring>

namespace {

[[noreturn]] void raise(const QString& text, const QFileDevice& file) {
    throw EInOutError(text + QStringLiteral(". ") + file.errorString());
}

} // namespace

THistory::THistory() : THistory(TMainFunc().GetHistoryFile()) {}

THistory::THistory(const QString& fileName) : m_fileName(fileName), m_file(fileName) {
    const bool existed = QFileInfo::exists(fileName);
    if (!m_file.open(QIODevice::ReadWrite)) {
        raise((existed ? QStringLiteral("Datei %1 kann nicht geöffnet werden")
                       : QStringLiteral("Datei %1 kann nicht erstellt werden"))
                  .arg(fileName),
              m_file);
    }
    if (existed)
        LoadHistory();
}

THistory::~THistory() {
    if (!m_dirty)
        return;
    try {
        SaveHistory();
    } catch (const Exception&) {
        // A destructor cannot report; SaveHistory called before it can.
    }
}

QByteArray THistory::StoredPath(const QString& path) {
    QByteArray bytes = path.toUtf8();
    if (bytes.size() > HistoryEntry::MaxPathBytes) {
        qsizetype cut = HistoryEntry::MaxPathBytes;
        while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
            --cut; // bytes[cut] would continue the character before it
        bytes.truncate(cut);
    }
    return bytes;
}

void THistory::LoadHistory() {
    m_entries.clear();
    if (!m_file.seek(0))
        raise(QStringLiteral("Datei %1 kann nicht gelesen werden").arg(m_fileName), m_file);
    const qint64 count = m_file.size() / HistoryEntry::RecordSize;
    m_entries.reserve(count);
    char record[HistoryEntry::RecordSize];
    for (qint64 i = 0; i < count; ++i) {
        if (m_file.read(record, sizeof record) != qint64(sizeof record))
            break; // the file shrank meanwhile: what was read counts
        HistoryEntry e;
        e.Number = qFromLittleEndian<qint32>(record);
        const int length = static_cast<unsigned char>(record[4]);
        e.Path = QByteArray(record + 5, length);
        m_entries.append(e);
    }
    if (m_file.error() != QFileDevice::NoError)
        raise(QStringLiteral("Datei %1 kann nicht gelesen werden").arg(m_fileName), m_file);
}

bool THistory::IsListed(const QString& path) const {
    if (!FileExists(path))
        return false;
    const QByteArray stored = StoredPath(path);
    for (const HistoryEntry& e : m_entries) {
        if (e.Path == stored)
            return true;
    }
    return false;
}

void THistory::AddArchive(const QString& path) {
    if (IsListed(path))
        return;
    if (m_entries.isEmpty())
        m_entries.append(HistoryEntry{0, {}});
    HistoryEntry e;
    e.Number = static_cast<qint32>(m_entries.size());
    e.Path = StoredPath(path);
    m_entries.append(e);
    m_dirty = true;
}

QString THistory::GetArchive(int position) const {
    if (position < 0 || position >= m_entries.size())
        return {};
    return QString::fromUtf8(m_entries[position].Path);
}

QList<THistoryMenuItem> THistory::MenuItems() const {
    QList<THistoryMenuItem> items;
    for (const HistoryEntry& e : m_entries) {
        const QString path = QString::fromUtf8(e.Path);
        if (!path.isEmpty() && FileExists(path))
            items.append({QFileInfo(path).fileName(), e.Number});
    }
    return items;
}

void THistory::FillMenu(THistoryMenu& menu) const {
    menu.Clear();
    const QList<THistoryMenuItem> items = MenuItems();
    for (const THistoryMenuItem& item : items)
        menu.AddItem(item.Caption, item.Tag);
}

void THistory::SaveHistory() {
    QByteArray data;
    data.reserve(m_entries.size() * HistoryEntry::RecordSize);
    for (const HistoryEntry& e : m_entries) {
        if (e.Number == -1)
            continue;
        char record[HistoryEntry::RecordSize] = {};
        qToLittleEndian<qint32>(e.Number, record);
        const qsizetype length = std::min<qsizetype>(e.Path.size(), HistoryEntry::MaxPathBytes);
        record[4] = static_cast<char>(length);
        std::memcpy(record + 5, e.Path.constData(), length);
        data.append(record, sizeof record);
    }

    QSaveFile out(m_fileName);
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit())
        raise(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(m_fileName), out);
    m_dirty = false;

    // Hold the new file open, as the old one was.
    m_file.close();
    if (!m_file.open(QIODevice::ReadWrite))
        raise(QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(m_fileName), m_file);
}
