#pragma once

#include <QString>

#include <memory>

// System information for the placeholders. Each question answers an empty
// string, or 0, when the value cannot be had.
class TSystemInfo {
public:
    virtual ~TSystemInfo() = default;

    virtual QString CurrentDate() = 0; // the user's short date format
    virtual QString CurrentTime() = 0; // the user's long time format
    virtual QString UserName() = 0;    // login name
    virtual QString Owner() = 0;       // the user's full name
    virtual QString Company() = 0;     // the organisation, if the system names one
    virtual QString Workgroup() = 0;   // the host's DNS domain
    virtual QString OSName() = 0;
    virtual qint64 UptimeMilliseconds() = 0;
    virtual QString CPUName() = 0;
    virtual qint64 CPUFrequencyMHz() = 0;
    virtual QString ComputerName() = 0;
    virtual QString IPv4Address() = 0;
    virtual qint64 TotalMemoryBytes() = 0;
    virtual qint64 FreeMemoryBytes() = 0;

    // The user's long time format without its time-zone part, used for the
    // time and the uptime.
    virtual QString TimeFormat() = 0;
};

// The real provider of this system.
std::unique_ptr<TSystemInfo> CreateSystemInfo();
