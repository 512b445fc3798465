// The shipped language files: every numbered text the program needs is there.
#include "platform/inifile.h"
#include "platform/windows1252.h"
#include "settings/printers.h"
#include "support/testenv.h"

#include <QList>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct Family {
    const char* section;
    QList<int> keys;
};

const QList<Family>& numberedTexts() {
    static const QList<Family> families = {
        {"caps", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16}},
        {"cmd", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {"error", {1, 2, 3, 4, 5}},
        {"ident", {1, 2, 3, 4, 5, 6}},
        {"msg", {1, 2, 3, 4, 5, 7, 8, 9, 12}},
    };
    return families;
}

const QList<Family>& windowTexts() {
    static const QList<Family> windows = {
        {"main", {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                  17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
                  33, 34, 35, 36, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49}},
        {"hints", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {"about", {1, 2, 3, 4}},
        {"archiveprop", {1, 2, 3, 4, 5, 6, 7}},
        {"docprop", {1, 2, 3, 4, 5, 6}},
        {"text", {1, 2, 3, 4, 5}},
        {"formtext", {1, 2, 3, 4, 5}},
        {"link", {1, 2, 3, 4, 5}},
        {"mail", {1, 2, 3, 4, 5}},
        {"moveentry", {1, 2, 3}},
        {"paste", {1, 2, 3}},
        {"newwizzard", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
        {"properties", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}},
    };
    return windows;
}

class ShippedLanguageFile : public ::testing::TestWithParam<const char*> {
protected:
    QString path() const { return S(PHRASORA_SOURCE_DIR "/data/lang/") + S(GetParam()); }
};

TEST_P(ShippedLanguageFile, IsUtf8WithoutBom) {
    const QByteArray bytes = readAll(path());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(IsValidUtf8(bytes));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
}

TEST_P(ShippedLanguageFile, HasEveryNumberedAndWindowText) {
    TIniFile ini(path());
    for (const QList<Family>* list : {&numberedTexts(), &windowTexts()}) {
        for (const Family& f : *list) {
            for (int key : f.keys) {
                EXPECT_FALSE(
                    ini.ReadString(S(f.section), QString::number(key), QString()).isEmpty())
                    << f.section << " " << key;
            }
        }
    }
}

TEST_P(ShippedLanguageFile, HasNoStrayKeys) {
    TIniFile ini(path());
    for (const QList<Family>* list : {&numberedTexts(), &windowTexts()}) {
        for (const Family& f : *list) {
            QSet<QString> wanted;
            for (int key : f.keys)
                wanted.insert(QString::number(key));
            const QStringList keys = ini.ReadSection(S(f.section));
            EXPECT_EQ(keys.size(), QSet<QString>(keys.begin(), keys.end()).size()) << f.section;
            for (const QString& key : keys)
                EXPECT_TRUE(wanted.contains(key)) << f.section << " " << key.toStdString();
        }
    }
}

TEST_P(ShippedLanguageFile, ErrorTextsEndReadyForTheClassName) {
    TIniFile ini(path());
    for (int n : {1, 3, 4, 5})
        EXPECT_TRUE(
            ini.ReadString(S("error"), QString::number(n), QString()).endsWith(QLatin1Char(':')))
            << n;
}

TEST_P(ShippedLanguageFile, WizardRecognisesItsFirstStep) {
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString(S("newwizzard"), S("1"), S("a")),
              ini.ReadString(S("newwizzard"), S("16"), S("b")));
}

TEST_P(ShippedLanguageFile, TopNodeLabelIsNoFolderLabel) {
    // A folder label ends with "(id)"; the top node's must not look like one.
    const QString top = TIniFile(path()).ReadString(S("ident"), S("1"), QString());
    EXPECT_FALSE(top.endsWith(QLatin1Char(')')));
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguageFile,
                         ::testing::Values("english.lng", "german.lng"));

TEST(ShippedLanguageFiles, GermanCaptionsFitTheDesign) {
    TIniFile ini(S(PHRASORA_SOURCE_DIR "/data/lang/german.lng"));
    EXPECT_EQ(ini.ReadString(S("caps"), S("12"), QString()), S("Einstellungen"));
    EXPECT_EQ(ini.ReadString(S("caps"), S("16"), QString()), S("Neues Archiv"));
    EXPECT_EQ(ini.ReadString(S("caps"), S("10"), QString()), S("Eintrag verschieben"));
}

} // namespace
