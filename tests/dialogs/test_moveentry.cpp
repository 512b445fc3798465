#include "dialogs/dialogtest.h"
#include "dialogs/moveentry.h"
#include "language/language.h"
#include "support/testenv.h"

#include <QGroupBox>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The main window's tree: the top node, folders labelled "Caption (id)".
//   <ident 1>
//     Briefe (3)
//       Privat (7)
//     Notes (old) (12)
class MoveEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* top = new QTreeWidgetItem(&mainTree, {TLanguageHandling().GetIdent(1)});
        auto* letters = new QTreeWidgetItem(top, {QStringLiteral("Briefe (3)")});
        new QTreeWidgetItem(letters, {QStringLiteral("Privat (7)")});
        new QTreeWidgetItem(top, {QStringLiteral("Notes (old) (12)")});
    }

    static QTreeWidgetItem* find(TMoveEntry& d, const QString& label) {
        const auto found = d.tList->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    TestEnv env; // with the shipped language files: English
    QTreeWidget mainTree;
};

} // namespace

TEST_F(MoveEntryTest, OkGivesTheChosenFolderIdAndZeroForTheTopNode) {
    const struct {
        QString label;
        QString expected;
    } cases[] = {
        {TLanguageHandling().GetIdent(1), QStringLiteral("0")},
        {QStringLiteral("Briefe (3)"), QStringLiteral("3")},
        {QStringLiteral("Privat (7)"), QStringLiteral("7")},
        // Only the last pair of parentheses holds the id.
        {QStringLiteral("Notes (old) (12)"), QStringLiteral("12")},
    };
    for (const auto& c : cases) {
        WhenShown<TMoveEntry>([&](TMoveEntry& d) {
            QTreeWidgetItem* node = find(d, c.label);
            ASSERT_NE(node, nullptr) << c.label.toStdString();
            node->setSelected(true);
            d.cmdOk->click();
        });
        EXPECT_EQ(ChooseTargetFolder(mainTree, nullptr), c.expected) << c.label.toStdString();
    }
}

TEST_F(MoveEntryTest, OkWithoutASelectionKeepsTheDialogOpenAndCancellingGivesNothing) {
    WhenShown<TMoveEntry>([](TMoveEntry& d) {
        d.cmdOk->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.Result().isEmpty());
        d.tList->topLevelItem(0)->setSelected(true);
        d.cmdAbort->click();
    });
    EXPECT_EQ(ChooseTargetFolder(mainTree, nullptr), QString());

    // Closing the window any other way gives nothing either.
    WhenShown<TMoveEntry>([](TMoveEntry& d) {
        d.tList->topLevelItem(0)->setSelected(true);
        d.close();
    });
    EXPECT_EQ(ChooseTargetFolder(mainTree, nullptr), QString());
}

TEST_F(MoveEntryTest, ShowsACopyOfTheWholeTreeWithFolderImages) {
    WhenShown<TMoveEntry>([this](TMoveEntry& d) {
        Screenshot(d, "moveentry");
        // The shipped English texts; the top node is the "ident" text 1.
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Phrasora - Move Entry"));
        EXPECT_EQ(d.fraMove->title(), QStringLiteral("Move entry to"));
        EXPECT_EQ(d.cmdOk->text(), QStringLiteral("OK"));
        EXPECT_EQ(d.cmdAbort->text(), QStringLiteral("Cancel"));
        EXPECT_EQ(d.tList->topLevelItem(0)->text(0), QStringLiteral("Archive"));
        EXPECT_TRUE(d.cmdOk->isDefault());

        ASSERT_EQ(d.tList->topLevelItemCount(), 1);
        QTreeWidgetItem* top = d.tList->topLevelItem(0);
        ASSERT_EQ(top->childCount(), 2);
        EXPECT_EQ(top->child(0)->text(0), QStringLiteral("Briefe (3)"));
        ASSERT_EQ(top->child(0)->childCount(), 1);
        EXPECT_EQ(top->child(0)->child(0)->text(0), QStringLiteral("Privat (7)"));
        EXPECT_EQ(top->child(1)->text(0), QStringLiteral("Notes (old) (12)"));
        EXPECT_FALSE(top->flags() & Qt::ItemIsEditable);

        // Closed image when added or collapsed, open image when expanded.
        const QIcon closed = d.style()->standardIcon(QStyle::SP_DirClosedIcon);
        const QIcon open = d.style()->standardIcon(QStyle::SP_DirOpenIcon);
        auto same = [](const QIcon& a, const QIcon& b) {
            return a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
        };
        ASSERT_FALSE(same(closed, open)) << "the style draws both alike";
        QTreeWidgetItem* letters = top->child(0);
        EXPECT_TRUE(same(letters->icon(0), closed));
        letters->setExpanded(true);
        EXPECT_TRUE(same(letters->icon(0), open));
        letters->setExpanded(false);
        EXPECT_TRUE(same(letters->icon(0), closed));
        d.cmdAbort->click();
    });
    ChooseTargetFolder(mainTree, nullptr);
    // The main window's tree is left as it was.
    EXPECT_EQ(mainTree.topLevelItem(0)->child(0)->text(0), QStringLiteral("Briefe (3)"));
    EXPECT_FALSE(mainTree.topLevelItem(0)->isExpanded());
}
