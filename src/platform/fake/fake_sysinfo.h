#pragma once

#include "platform/sysinfo.h"

#include <QMap>

// System information with fixed answers, for tests. Counts how often each
// value is asked for.
class TFakeSystemInfo final : public TSystemInfo {
public:
    QString date = QStringLiteral("11.12.2026");
    QString time = QStringLiteral("09:08:07");
    QString user = QStringLiteral("anna");
    QString owner = QStringLiteral("Anna Muster");
    QString company;
    QString workgroup = QStringLiteral("example.org");
    QString os = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
    qint64 uptimeMs = ((1 * 24 + 2) * 3600 + 3 * 60 + 4) * 1000LL;
    QString cpu = QStringLiteral("Test CPU");
    qint64 mhz = 2400;
    QString computer = QStringLiteral("desk");
    QString ip = QStringLiteral("192.0.2.7");
    qint64 total = 512LL * 1024 * 1024;
    qint64 free = 256LL * 1024 * 1024 + 1023;
    QString timeFormat = QStringLiteral("HH:mm:ss");
    QMap<QString, int>* asked = nullptr;

    QString CurrentDate() override { return count(QStringLiteral("date"), date); }
    QString CurrentTime() override { return count(QStringLiteral("time"), time); }
    QString UserName() override { return count(QStringLiteral("user"), user); }
    QString Owner() override { return owner; }
    QString Company() override { return company; }
    QString Workgroup() override { return workgroup; }
    QString OSName() override { return os; }
    qint64 UptimeMilliseconds() override { return uptimeMs; }
    QString CPUName() override { return cpu; }
    qint64 CPUFrequencyMHz() override { return mhz; }
    QString ComputerName() override { return computer; }
    QString IPv4Address() override { return count(QStringLiteral("ip"), ip); }
    qint64 TotalMemoryBytes() override { return total; }
    qint64 FreeMemoryBytes() override { return free; }
    QString TimeFormat() override { return timeFormat; }

private:
    QString count(const QString& what, const QString& value)
    {
        if (asked)
            ++(*asked)[what];
        return value;
    }
};
