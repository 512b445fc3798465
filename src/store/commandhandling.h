#pragma once

#include "platform/sysinfo.h"
#include "store/define.h"

#include <QStringList>

#include <memory>

class TLanguageHandling;

// The fourteen placeholders ("{$Date$}" ...): the display names for the
// editors' lists and the expansion of a text at the moment it is used.
class TCommandHandling {
public:
    // Uses the real system information unless a provider is given (tests).
    explicit TCommandHandling(std::unique_ptr<TSystemInfo> info = {});
    ~TCommandHandling();
    TCommandHandling(const TCommandHandling&) = delete;
    TCommandHandling& operator=(const TCommandHandling&) = delete;

    // The 14 display names in table order (sorted by name).
    void FillCommandList(QStringList& strings) const;
    // The placeholder of row index; past the last row gives the last row.
    QString CommandAt(int index) const;
    // The text with every placeholder replaced by its current value.
    QString ExpandCommands(const QString& text) const;

    // The command table, sorted by display name.
    const TDocCommands& Commands() const { return m_commands; }

    // The placeholders in their fixed order (n = 1..14).
    static const QStringList& Placeholders();

private:
    QString valueOf(int n) const;

    TDocCommands m_commands;
    std::unique_ptr<TLanguageHandling> Language;
    std::unique_ptr<TSystemInfo> m_info;
};
