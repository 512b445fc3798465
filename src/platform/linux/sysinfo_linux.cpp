#include "platform/sysinfo.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cmath>

namespace {

QByteArray readSmallFile(const char* path, qint64 limit = 1 << 20)
{
    QFile f(QString::fromLocal8Bit(path));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(limit);
}

// The value of "key : value" lines as /proc/cpuinfo and /proc/meminfo have them.
QByteArray procField(const QByteArray& content, const QByteArray& key)
{
    for (const QByteArray& line : content.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        if (line.left(colon).trimmed() == key)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

QString hostName()
{
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        return {};
    return QString::fromLocal8Bit(buffer);
}

class LinuxSystemInfo final : public TSystemInfo {
public:
    QString CurrentDate() override
    {
        return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    }

    QString CurrentTime() override
    {
        return QLocale::system().toString(QTime::currentTime(), TimeFormat());
    }

    QString TimeFormat() override
    {
        // Windows' long time format has no time zone; drop Qt's "t" fields.
        QString format = QLocale::system().timeFormat(QLocale::LongFormat);
        static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
        format.replace(zone, QStringLiteral(" "));
        format = format.trimmed();
        return format.isEmpty() ? QStringLiteral("HH:mm:ss") : format;
    }

    QString UserName() override
    {
        if (const passwd* pw = getpwuid(geteuid()))
            return QString::fromLocal8Bit(pw->pw_name);
        return qEnvironmentVariable("USER");
    }

    QString Owner() override
    {
        if (const passwd* pw = getpwuid(geteuid())) {
            // The full name is the first comma-separated field of GECOS.
            const QString gecos = QString::fromLocal8Bit(pw->pw_gecos ? pw->pw_gecos : "");
            const QString fullName = gecos.section(QLatin1Char(','), 0, 0).trimmed();
            return fullName.isEmpty() ? QString::fromLocal8Bit(pw->pw_name) : fullName;
        }
        return UserName();
    }

    QString Company() override
    {
        const QByteArray file = readSmallFile("/etc/organization", 4096);
        const QString fromFile = QString::fromUtf8(file.split('\n').value(0)).trimmed();
        if (!fromFile.isEmpty())
            return fromFile;
        return qEnvironmentVariable("ORGANIZATION").trimmed();
    }

    QString Workgroup() override
    {
        // The DNS domain: the part of the host's canonical name after its
        // first dot.
        const QByteArray host = hostName().toLocal8Bit();
        if (host.isEmpty())
            return {};
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_flags = AI_CANONNAME;
        addrinfo* result = nullptr;
        QString domain;
        if (getaddrinfo(host.constData(), nullptr, &hints, &result) == 0 && result) {
            const QString canonical =
                QString::fromLocal8Bit(result->ai_canonname ? result->ai_canonname : "");
            const qsizetype dot = canonical.indexOf(QLatin1Char('.'));
            if (dot > 0)
                domain = canonical.mid(dot + 1);
        }
        if (result)
            freeaddrinfo(result);
        if (domain.isEmpty()) {
            const qsizetype dot = hostName().indexOf(QLatin1Char('.'));
            if (dot > 0)
                domain = hostName().mid(dot + 1);
        }
        return domain;
    }

    QString OSName() override
    {
        QByteArray content = readSmallFile("/etc/os-release", 65536);
        if (content.isEmpty())
            content = readSmallFile("/usr/lib/os-release", 65536);
        for (const QByteArray& raw : content.split('\n')) {
            const QByteArray line = raw.trimmed();
            if (!line.startsWith("PRETTY_NAME="))
                continue;
            QByteArray value = line.mid(12);
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.mid(1, value.size() - 2);
            value.replace("\\\"", "\"");
            return QString::fromUtf8(value);
        }
        return {};
    }

    qint64 UptimeMilliseconds() override
    {
        struct sysinfo info {};
        if (sysinfo(&info) != 0)
            return 0;
        return static_cast<qint64>(info.uptime) * 1000;
    }

    QString CPUName() override
    {
        const QByteArray cpuinfo = readSmallFile("/proc/cpuinfo");
        QByteArray name = procField(cpuinfo, "model name");
        if (name.isEmpty())
            name = procField(cpuinfo, "Model");
        if (name.isEmpty())
            name = procField(cpuinfo, "Hardware");
        return QString::fromUtf8(name).left(48);
    }

    qint64 CPUFrequencyMHz() override
    {
        // The rated frequency where the kernel reports it, else the current one.
        const QByteArray maxKHz =
            readSmallFile("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", 64).trimmed();
        bool ok = false;
        const qint64 khz = maxKHz.toLongLong(&ok);
        if (ok && khz > 0)
            return (khz + 500) / 1000;
        const double mhz = procField(readSmallFile("/proc/cpuinfo"), "cpu MHz").toDouble(&ok);
        return ok && mhz > 0 ? static_cast<qint64>(std::llround(mhz)) : 0;
    }

    QString ComputerName() override { return hostName(); }

    QString IPv4Address() override
    {
        const QByteArray host = hostName().toLocal8Bit();
        if (host.isEmpty())
            return {};
        addrinfo hints{};
        hints.ai_family = AF_INET;
        addrinfo* result = nullptr;
        QString address;
        if (getaddrinfo(host.constData(), nullptr, &hints, &result) == 0) {
            for (addrinfo* ai = result; ai; ai = ai->ai_next) {
                if (ai->ai_family != AF_INET)
                    continue;
                char text[INET_ADDRSTRLEN] = {};
                const auto* in = reinterpret_cast<const sockaddr_in*>(ai->ai_addr);
                if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) {
                    address = QString::fromLatin1(text);
                    break;
                }
            }
        }
        if (result)
            freeaddrinfo(result);
        return address;
    }

    qint64 TotalMemoryBytes() override { return memInfoKiB("MemTotal") * 1024; }
    qint64 FreeMemoryBytes() override { return memInfoKiB("MemAvailable") * 1024; }

private:
    static qint64 memInfoKiB(const QByteArray& key)
    {
        QByteArray value = procField(readSmallFile("/proc/meminfo"), key);
        value.replace("kB", "");
        bool ok = false;
        const qint64 kib = value.trimmed().toLongLong(&ok);
        return ok ? kib : 0;
    }
};

} // namespace

std::unique_ptr<TSystemInfo> CreateSystemInfo() { return std::make_unique<LinuxSystemInfo>(); }
