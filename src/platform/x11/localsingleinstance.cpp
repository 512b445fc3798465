#include "platform/x11/localsingleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <unistd.h>

namespace {

constexpr int ConnectTimeoutMs = 500;
constexpr int AnswerTimeoutMs = 700;

QString runtimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    const QString own = QDir::tempPath() + QStringLiteral("/phrasora-%1").arg(getuid());
    QDir().mkpath(own);
    QFile::setPermissions(own,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return own;
}

QByteArray escape(const QString& s) {
    QByteArray out;
    for (const char c : s.toUtf8()) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

QString unescape(const QByteArray& line) {
    QByteArray out;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            const char n = line[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += line[i];
        }
    }
    return QString::fromUtf8(out);
}

} // namespace

TLocalSingleInstance::TLocalSingleInstance(QString name)
    : m_path(runtimeFolder() + QLatin1Char('/') + name + QStringLiteral(".socket")) {}

TLocalSingleInstance::~TLocalSingleInstance() = default;

QByteArray TLocalSingleInstance::Encode(const QStringList& arguments) {
    QByteArray out = QByteArray::number(arguments.size()) + '\n';
    for (const QString& a : arguments)
        out += escape(a) + '\n';
    return out;
}

bool TLocalSingleInstance::Decode(const QByteArray& data, QStringList* arguments) {
    QList<QByteArray> lines = data.split('\n');
    lines.removeLast(); // what follows the last line break is incomplete
    if (lines.isEmpty())
        return false;
    bool ok = false;
    const int count = lines.first().toInt(&ok);
    if (!ok || count < 0 || lines.size() - 1 < count)
        return false;
    arguments->clear();
    for (int i = 1; i <= count; ++i)
        arguments->append(unescape(lines.at(i)));
    return true;
}

bool TLocalSingleInstance::HandOver(const QStringList& arguments) {
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write(Encode(arguments));
    if (!socket.waitForBytesWritten(AnswerTimeoutMs))
        return false;
    // The running instance confirms once it has the whole list.
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(AnswerTimeoutMs))
            return false;
    return socket.readLine().trimmed() == "ok";
}

ISingleInstance::Claim TLocalSingleInstance::Start(const QStringList& arguments) {
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(0); // a lock is stale only when its process is gone
    if (!lock.tryLock(3000))
        return HandOver(arguments) ? Claim::HandedOver : Claim::Failed;

    if (HandOver(arguments))
        return Claim::HandedOver;

    // Nobody answers: whatever is at the path is left over from a crash.
    QLocalServer::removeServer(m_path);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_path)) {
        m_server.reset();
        return Claim::Failed;
    }
    QObject::connect(m_server.get(), &QLocalServer::newConnection, [this] { Accept(); });
    return Claim::Primary;
}

void TLocalSingleInstance::Accept() {
    while (QLocalSocket* raw = m_server->nextPendingConnection()) {
        QPointer<QLocalSocket> socket(raw);
        QObject::connect(raw, &QLocalSocket::disconnected, raw, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(raw, &QLocalSocket::readyRead, raw, [this, socket, buffer] {
            if (!socket)
                return;
            *buffer += socket->readAll();
            // A start that sends nonsense or far too much is cut off.
            if (buffer->size() > 1024 * 1024) {
                socket->abort();
                return;
            }
            QStringList arguments;
            if (!Decode(*buffer, &arguments))
                return;
            buffer->clear();
            socket->write("ok\n");
            socket->flush();
            if (m_handler)
                m_handler(arguments);
        });
    }
}
