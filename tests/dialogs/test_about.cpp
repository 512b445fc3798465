#include "dialogs/about.h"
#include "dialogs/datetext.h"
#include "dialogs/dialogtest.h"
#include "language/language.h"
#include "platform/fake/fakeservices.h"
#include "support/testenv.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    TestEnv env{false}; // no language file: the compiled-in texts
    TFakeShell shell;
};

} // namespace

TEST_F(AboutTest, ShowingTwiceShowsTheVersionAndTheBuildDateOnce) {
    const QDateTime built = QDateTime::fromSecsSinceEpoch(TAbout::BuildTime()).toLocalTime();
    const QString compiled = QStringLiteral("Kompiliert am ") + DateText(built.date()) +
                             QStringLiteral(" um ") + TimeText(built.time());
    // The stamp is taken when the build is configured: a real time, not 1970.
    EXPECT_GT(TAbout::BuildTime(), QDateTime(QDate(2024, 1, 1), QTime()).toSecsSinceEpoch());

    TAbout about(nullptr, &shell);
    for (int round = 0; round < 2; ++round) {
        WhenShown<TAbout>([&](TAbout& d) {
            Screenshot(d, "about");
            EXPECT_TRUE(d.windowTitle().startsWith(QStringLiteral("Phrasora - ")));
            EXPECT_EQ(d.Label1->text(), QStringLiteral("Phrasora"));
            EXPECT_TRUE(d.Label1->font().bold());
            EXPECT_EQ(d.lblVersion->text(), QStringLiteral("Version 1.0.1.0"));
            EXPECT_EQ(d.lblCompile->text(), compiled);
            EXPECT_TRUE(d.Label3->text().startsWith(QStringLiteral("Programmiert von ")));
            EXPECT_TRUE(d.Label4->text().startsWith(QStringLiteral("Grafiken von ")));
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        about.exec();
        EXPECT_FALSE(about.isVisible());
    }
}

TEST_F(AboutTest, LinksOpenMailAndHomepageAndLightUpUnderThePointer) {
    TAbout about(nullptr, &shell);
    about.show();
    const QColor navy(0, 0, 128);
    EXPECT_EQ(about.lblMail->palette().color(QPalette::WindowText), navy);
    EXPECT_FALSE(about.lblMail->font().underline());

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(about.lblHomepage, &enter);
    EXPECT_EQ(about.lblHomepage->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_TRUE(about.lblHomepage->font().underline());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(about.lblHomepage, &leave);
    EXPECT_EQ(about.lblHomepage->palette().color(QPalette::WindowText), navy);
    EXPECT_FALSE(about.lblHomepage->font().underline());

    QTest::mouseClick(about.lblMail, Qt::LeftButton);
    QTest::mouseClick(about.lblHomepage, Qt::LeftButton);
    EXPECT_EQ(shell.opened, (QStringList{QStringLiteral("mailto:") + TAbout::SupportAddress(),
                                         TAbout::HomepageUrl()}));
    // The address shown is the one opened.
    EXPECT_EQ(about.lblMail->text(), TAbout::SupportAddress());
}

TEST_F(AboutTest, EachShowingTakesTheTextsOfTheLanguageInUse) {
    const QDateTime built = QDateTime::fromSecsSinceEpoch(TAbout::BuildTime()).toLocalTime();
    const QString date = DateText(built.date()), time = TimeText(built.time());
    TAbout about(nullptr, &shell);

    struct Round {
        QByteArray file;
        QString caption, version, compiled;
    } rounds[] = {
        {"[caps]\n2=About Phrasora\n[about]\n1=Version\n2=Built on %s at %s\n",
         QStringLiteral("Phrasora - About Phrasora"), QStringLiteral("Version 1.0.1.0"),
         QStringLiteral("Built on ") + date + QStringLiteral(" at ") + time},
        // The same window after a language switch: the new texts, once.
        {"[caps]\n2=Info\n[about]\n1=Ausgabe\n2=%s, %s Uhr\n", QStringLiteral("Phrasora - Info"),
         QStringLiteral("Ausgabe 1.0.1.0"),
         date + QStringLiteral(", ") + time + QStringLiteral(" Uhr")},
    };
    int n = 0;
    for (const Round& r : rounds) {
        const QString file = env.writeFile(QStringLiteral("program/lang/l%1.lng").arg(++n), r.file);
        TLangfileHandling().SetCurrentFile(file);
        WhenShown<TAbout>([&](TAbout& d) {
            EXPECT_EQ(d.windowTitle(), r.caption);
            EXPECT_EQ(d.lblVersion->text(), r.version);
            EXPECT_EQ(d.lblCompile->text(), r.compiled);
            d.reject();
        });
        about.exec();
    }
}
