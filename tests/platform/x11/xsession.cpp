#include "xsession.h"

#include "platform/x11/x11connection.h"
#include "platform/x11/x11windowsystem.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

// xkb.h names a member `explicit`, a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

void EndWithParent(QProcess& process) {
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (done())
            return true;
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

TXSession::TXSession() : TXSession(Options()) {}

TXSession::TXSession(const Options& options) : m_oldDisplay(qgetenv("DISPLAY")) {
    m_server = std::make_unique<QProcess>();
    EndWithParent(*m_server);
    m_server->setProcessChannelMode(QProcess::SeparateChannels);
    m_server->start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                     // Without it the server resets whenever its last client goes, and
                     // with it the keyboard layout.
                     QStringLiteral("-noreset")});
    if (!m_server->waitForStarted(10000)) {
        m_error = QStringLiteral("Xvfb did not start");
        return;
    }
    QByteArray number;
    WaitUntil(
        [&] {
            number += m_server->readAllStandardOutput();
            return number.contains('\n') || m_server->state() != QProcess::Running;
        },
        30000);
    if (!number.contains('\n')) {
        m_error = QStringLiteral("Xvfb gave no display number: ") +
                  QString::fromLocal8Bit(m_server->readAllStandardError());
        return;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    qputenv("DISPLAY", m_display.toLatin1());

    if (options.layout != QLatin1String("us"))
        Run(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), options.layout});

    if (options.windowManager) {
        Start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        TX11WindowSystem ws;
        if (!WaitUntil([&] { return ws.WindowManager() != 0; }, 30000)) {
            m_error = QStringLiteral("openbox did not come up");
            return;
        }
    }
    if (options.panel) {
        Start(QStringLiteral("tint2"), {});
        TX11WindowSystem ws;
        WaitUntil([&] { return ws.BottomPanelHeight() > 0; }, 30000);
    }
    m_up = true;
}

TXSession::~TXSession() {
    Stop();
}

void TXSession::Stop() {
    // Clients first, the server last, each asked politely and then killed.
    for (auto it = m_clients.rbegin(); it != m_clients.rend(); ++it) {
        QProcess* p = it->get();
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }
    m_clients.clear();
    if (m_server && m_server->state() != QProcess::NotRunning) {
        m_server->terminate();
        if (!m_server->waitForFinished(5000)) {
            m_server->kill();
            m_server->waitForFinished(3000);
        }
    }
    m_server.reset();
    if (m_oldDisplay.isEmpty())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", m_oldDisplay);
}

QProcess* TXSession::Start(const QString& program, const QStringList& arguments) {
    auto p = std::make_unique<QProcess>();
    EndWithParent(*p);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(program, arguments);
    p->waitForStarted(10000);
    m_clients.push_back(std::move(p));
    return m_clients.back().get();
}

QByteArray TXSession::Run(const QString& program, const QStringList& arguments, int* exitCode) {
    QProcess p;
    EndWithParent(p);
    p.start(program, arguments);
    if (!p.waitForStarted(10000) || !p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(3000);
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

QByteArray TXSession::KeymapDump() {
    return Run(QStringLiteral("xkbcomp"), {QStringLiteral("-xkb"), m_display, QStringLiteral("-")});
}

QList<int> TXSession::KeysDown() {
    TX11Connection x;
    QList<int> down;
    XcbReply<xcb_query_keymap_reply_t> keys(
        xcb_query_keymap_reply(x.Get(), xcb_query_keymap(x.Get()), nullptr));
    if (!keys)
        return {-1};
    for (int k = 0; k < 256; ++k)
        if (keys->keys[k / 8] & (1 << (k % 8)))
            down << k;
    return down;
}

bool TXSession::LockGroup(int group) {
    TX11Connection x;
    XcbReply<xcb_xkb_use_extension_reply_t> use(
        xcb_xkb_use_extension_reply(x.Get(), xcb_xkb_use_extension(x.Get(), 1, 0), nullptr));
    if (!use || !use->supported)
        return false;
    xcb_xkb_latch_lock_state(x.Get(), XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1, uint8_t(group), 0, 0, 0);
    x.Sync();
    XcbReply<xcb_xkb_get_state_reply_t> state(xcb_xkb_get_state_reply(
        x.Get(), xcb_xkb_get_state(x.Get(), XCB_XKB_ID_USE_CORE_KBD), nullptr));
    return state && state->lockedGroup == group;
}

quint64 TXSession::WaitForWindow(const QString& title, int timeoutMs) {
    TX11WindowSystem ws;
    quint64 found = 0;
    WaitUntil(
        [&] {
            for (const TWindowInfo& w : ws.TopLevelWindows())
                if (w.title == title) {
                    found = w.handle;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}
