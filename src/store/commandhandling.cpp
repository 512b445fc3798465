#include "store/commandhandling.h"

#include "language/language.h"
#include "platform/sysinfo.h"

#include <QLocale>
#include <QTime>

#include <algorithm>

const QStringList& TCommandHandling::Placeholders()
{
    static const QStringList list{
        QStringLiteral("{$Date$}"),        QStringLiteral("{$Time$}"),
        QStringLiteral("{$UserName$}"),    QStringLiteral("{$Owner$}"),
        QStringLiteral("{$Company$}"),     QStringLiteral("{$Workgroup$}"),
        QStringLiteral("{$OSName$}"),      QStringLiteral("{$TimeRunning$}"),
        QStringLiteral("{$CPUType$}"),     QStringLiteral("{$CPUFreq$}"),
        QStringLiteral("{$ComputerName$}"), QStringLiteral("{$IPAddress$}"),
        QStringLiteral("{$RAMTotal$}"),    QStringLiteral("{$RAMFree$}"),
    };
    return list;
}

TCommandHandling::TCommandHandling(std::unique_ptr<TSystemInfo> info)
    : Language(std::make_unique<TLanguageHandling>()),
      m_info(info ? std::move(info) : CreateSystemInfo())
{
    const QStringList& placeholders = Placeholders();
    for (int n = 1; n <= placeholders.size(); ++n)
        m_commands.append(TDocCommand{Language->GetCommand(n), placeholders[n - 1]});
    // Sorted by name in UTF-16 code units; equal names keep the order above.
    std::stable_sort(m_commands.begin(), m_commands.end(),
                     [](const TDocCommand& a, const TDocCommand& b) {
                         return std::lexicographical_compare(
                             a.caption.utf16(), a.caption.utf16() + a.caption.size(),
                             b.caption.utf16(), b.caption.utf16() + b.caption.size());
                     });
}

TCommandHandling::~TCommandHandling() = default;

void TCommandHandling::FillCommandList(QStringList& strings) const
{
    strings.clear();
    for (const TDocCommand& command : m_commands)
        strings.append(command.caption);
}

QString TCommandHandling::CommandAt(int index) const
{
    if (m_commands.isEmpty())
        return {};
    index = std::clamp(index, 0, static_cast<int>(m_commands.size()) - 1);
    return m_commands[index].command;
}

QString TCommandHandling::valueOf(int n) const
{
    TSystemInfo& info = *m_info;
    const auto kb = [](qint64 bytes) {
        return bytes > 0 ? QString::number(bytes / 1024) + QStringLiteral("kb") : QString();
    };
    switch (n) {
    case 1:
        return info.CurrentDate();
    case 2:
        return info.CurrentTime();
    case 3:
        return info.UserName();
    case 4:
        return info.Owner();
    case 5:
        return info.Company();
    case 6:
        return info.Workgroup();
    case 7:
        return info.OSName();
    case 8: {
        const qint64 ms = info.UptimeMilliseconds();
        if (ms <= 0)
            return {};
        const qint64 seconds = ms / 1000;
        const qint64 days = seconds / 86400;
        const QTime rest = QTime(0, 0).addSecs(static_cast<int>(seconds % 86400));
        return QString::number(days) + QLatin1Char(' ') +
               QLocale::system().toString(rest, info.TimeFormat());
    }
    case 9:
        return info.CPUName().left(48);
    case 10: {
        const qint64 mhz = info.CPUFrequencyMHz();
        return mhz > 0 ? QString::number(mhz) : QString();
    }
    case 11:
        return info.ComputerName();
    case 12:
        return info.IPv4Address();
    case 13:
        return kb(info.TotalMemoryBytes());
    case 14:
        return kb(info.FreeMemoryBytes());
    default:
        return {};
    }
}

QString TCommandHandling::ExpandCommands(const QString& text) const
{
    QString result = text;
    const QStringList& placeholders = Placeholders();
    for (int n = 1; n <= placeholders.size(); ++n) {
        const QString& plain = placeholders[n - 1];
        // "{$Date$}" is stored as "\{$Date$\}" inside RTF source.
        QString escaped = plain;
        escaped.insert(escaped.size() - 1, QLatin1Char('\\'));
        escaped.prepend(QLatin1Char('\\'));
        // A value is fetched only where its placeholder occurs; asking for it
        // may cost a name lookup.
        if (result.contains(escaped))
            result.replace(escaped, valueOf(n));
        if (result.contains(plain))
            result.replace(plain, valueOf(n));
    }
    return result;
}
