#include "platform/keysender.h"
#include "platform/x11/x11keyboard.h"
#include "platform/x11/x11windowsystem.h"
#include "support/testenv.h"
#include "xsession.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Everything a user's entry can hold: ASCII with every printable
// punctuation mark, tab, both kinds of line break, German and French
// letters, what `de` reaches only through AltGr or dead keys, Cyrillic,
// CJK and an emoji outside the BMP.
const QString MixedText =
    QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789\n"
                   " !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\r\n"
                   "Tab\there\tand ^a `e \u00b4o\n"
                   "Gr\u00fc\u00dfe: \u00e4 \u00f6 \u00fc \u00c4 \u00d6 \u00dc \u00df \u20ac\n"
                   "Fran\u00e7ais: \u00e9 \u00e8 \u00ea \u00e0 \u00f9 \u0153 \u00ab \u00bb \u00c9\n"
                   "AltGr: @ \u20ac { [ ] } \\ ~ | \u00b5 \u00b2 \u00b3\n"
                   "\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440\n"
                   "\u4e2d\u6587 \u65e5\u672c\u8a9e \U0001F600\n");

QString expectedText() {
    QString t = MixedText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

struct TypingCase {
    const char* name;
    const char* layout;
    int group;
    bool qtTarget;
};

class Typing : public ::testing::TestWithParam<TypingCase> {};

TEST_P(Typing, MixedTextArrivesExactly) {
    const TypingCase& c = GetParam();
    TestEnv env(false);
    TXSession::Options options;
    options.layout = QString::fromLatin1(c.layout);
    TXSession session(options);
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    if (c.group) {
        ASSERT_TRUE(session.LockGroup(c.group));
    }

    const QString out = env.path(QStringLiteral("typed.txt"));
    const QString title = QStringLiteral("typing target");
    if (c.qtTarget) {
        session.Start(QStringLiteral(PHRASORA_BIN_DIR "/x11helper"),
                      {QStringLiteral("textfield"), title, out});
    } else {
        session.Start(QStringLiteral("env"),
                      {QStringLiteral("LC_ALL=C.UTF-8"), QStringLiteral("xterm"),
                       QStringLiteral("-u8"), QStringLiteral("-T"), title, QStringLiteral("-e"),
                       QStringLiteral("sh"), QStringLiteral("-c"),
                       QStringLiteral("stty -echo -icanon; exec cat > '%1'").arg(out)});
    }
    const quint64 window = session.WaitForWindow(title);
    ASSERT_NE(window, 0u);
    if (!c.qtTarget) {
        ASSERT_TRUE(WaitUntil([&] { return QFile::exists(out); }));
    }
    const QByteArray keymapBefore = session.KeymapDump();
    ASSERT_FALSE(keymapBefore.isEmpty());

    TX11WindowSystem windows;
    ASSERT_TRUE(ActivateTarget(windows, window, std::chrono::milliseconds(5000)));
    {
        TX11Keyboard keyboard;
        ASSERT_TRUE(keyboard.IsOpen());
        TKeySender sender(keyboard);
        EXPECT_EQ(sender.SendKeys(MixedText, TKeySender::Mode::Text), 0);
        EXPECT_TRUE(session.KeysDown().isEmpty()) << "no key stays down";

        const QByteArray expected = expectedText().toUtf8();
        const bool arrived = WaitUntil([&] { return readAll(out) == expected; }, 30000);
        EXPECT_TRUE(arrived) << "typed:\n"
                             << readAll(out).toStdString() << "\nexpected:\n"
                             << expected.toStdString();
    }
    EXPECT_EQ(session.KeymapDump(), keymapBefore) << "the keymap is as it was";
    EXPECT_TRUE(session.KeysDown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, Typing,
    ::testing::Values(TypingCase{"us_xterm", "us", 0, false}, TypingCase{"us_qt", "us", 0, true},
                      TypingCase{"de_xterm", "de", 0, false}, TypingCase{"de_qt", "de", 0, true},
                      TypingCase{"usde_group2_xterm", "us,de", 1, false},
                      TypingCase{"usde_group2_qt", "us,de", 1, true}),
    [](const ::testing::TestParamInfo<TypingCase>& p) { return std::string(p.param.name); });

} // namespace

namespace {

// A Qt field with the focus, for the key-string tests.
struct QtField {
    TestEnv env{false};
    TXSession session;
    QString out = env.path(QStringLiteral("field.txt"));
    quint64 window = 0;

    explicit QtField(const QString& layout = QStringLiteral("us"))
        : session(TXSession::Options{true, false, layout}) {}

    bool Open() {
        if (!session.IsUp())
            return false;
        session.Start(QStringLiteral(PHRASORA_BIN_DIR "/x11helper"),
                      {QStringLiteral("textfield"), QStringLiteral("field"), out});
        window = session.WaitForWindow(QStringLiteral("field"));
        TX11WindowSystem windows;
        return window && ActivateTarget(windows, window, std::chrono::milliseconds(5000));
    }
};

class PasteUnder : public ::testing::TestWithParam<const char*> {};

// Under a Cyrillic layout "v" itself is foreign to the keymap.
INSTANTIATE_TEST_SUITE_P(Layouts, PasteUnder, ::testing::Values("us", "ru", "de"));

TEST_P(PasteUnder, CtrlVPastesWhatIsOnTheClipboard) {
    QtField field{QString::fromLatin1(GetParam())};
    ASSERT_TRUE(field.Open()) << field.session.Error().toStdString();
    QProcess* owner = field.session.Start(QStringLiteral("xclip"),
                                          {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                                           QStringLiteral("clipboard"), QStringLiteral("-i")});
    owner->write(QStringLiteral("eingefügt").toUtf8());
    owner->closeWriteChannel();
    WaitUntil([] { return false; }, 300);

    TX11Keyboard keyboard;
    TKeySender sender(keyboard);
    EXPECT_EQ(sender.SendKeys(TKeySender::PasteKeys(), TKeySender::Mode::KeyString), 0);
    EXPECT_TRUE(WaitUntil([&] {
        return readAll(field.out) == QStringLiteral("eingefügt").toUtf8();
    })) << readAll(field.out).toStdString();
    EXPECT_EQ(sender.SendKeys(TKeySender::CtrlReleaseKeys(), TKeySender::Mode::KeyString), 0);
    EXPECT_TRUE(field.session.KeysDown().isEmpty());
}

TEST(TypingKeyStrings, WaitsUntilTheUserLetsGoOfShift) {
    QtField field;
    ASSERT_TRUE(field.Open()) << field.session.Error().toStdString();
    field.session.Run(QStringLiteral("xdotool"),
                      {QStringLiteral("keydown"), QStringLiteral("shift")});
    field.session.Start(QStringLiteral("sh"),
                        {QStringLiteral("-c"), QStringLiteral("sleep 0.6; xdotool keyup shift")});

    TX11Keyboard keyboard;
    TKeySender sender(keyboard);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(sender.SendKeys(QStringLiteral("abc"), TKeySender::Mode::Text), 0);
    EXPECT_GE(t.elapsed(), 400) << "typing waited for the release";
    EXPECT_TRUE(WaitUntil([&] { return readAll(field.out) == "abc"; }))
        << "not shifted: " << readAll(field.out).toStdString();
}

} // namespace

namespace {

class ManyForeign : public ::testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(Targets, ManyForeign, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return std::string(p.param ? "qt" : "xterm");
                         });

// Far more characters foreign to `us` than there are spare keycodes, in
// both cases and repeated: the spares move on mid-text without losing one.
TEST_P(ManyForeign, MoreThanTheSpareKeycodesHold) {
    const bool qt = GetParam();
    TestEnv env(false);
    TXSession session;
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    const QString out = env.path(QStringLiteral("typed.txt"));
    if (qt) {
        session.Start(QStringLiteral(PHRASORA_BIN_DIR "/x11helper"),
                      {QStringLiteral("textfield"), QStringLiteral("many"), out});
    } else {
        session.Start(QStringLiteral("env"),
                      {QStringLiteral("LC_ALL=C.UTF-8"), QStringLiteral("xterm"),
                       QStringLiteral("-T"), QStringLiteral("many"), QStringLiteral("-e"),
                       QStringLiteral("sh"), QStringLiteral("-c"),
                       QStringLiteral("stty -echo -icanon; exec cat > '%1'").arg(out)});
    }
    const quint64 window = session.WaitForWindow(QStringLiteral("many"));
    ASSERT_NE(window, 0u);
    TX11WindowSystem windows;
    ASSERT_TRUE(ActivateTarget(windows, window, std::chrono::milliseconds(5000)));

    const QString pangram =
        QStringLiteral("Съешь же ещё этих мягких французских булок, да выпей чаю.\n"
                       "ЭХ, ЧУЖАК! ОБЩИЙ СЪЁМ ЦЕН ШЛЯП (ЮФТЬ) – ВДРЫЗГ!\n");
    const QString text = pangram + pangram;
    {
        TX11Keyboard keyboard;
        TKeySender sender(keyboard);
        EXPECT_EQ(sender.SendKeys(text, TKeySender::Mode::Text), 0);
        EXPECT_TRUE(WaitUntil([&] { return readAll(out) == text.toUtf8(); }, 60000))
            << readAll(out).toStdString();
    }
    EXPECT_TRUE(session.KeysDown().isEmpty());
}

} // namespace
