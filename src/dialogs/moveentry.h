#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QGroupBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TLanguageHandling;

// The move-entry dialog: a copy of the main window's folder tree in which
// the user picks the folder an entry goes to.
class TMoveEntry : public QDialog {
public:
    explicit TMoveEntry(QWidget* parent = nullptr);
    ~TMoveEntry() override;

    // Copies every node (labels and structure) of the main window's tree.
    void CopyTree(const QTreeWidget& source);

    // The chosen folder id in decimal ("0" for the top node); empty unless
    // the dialog was left with Ok and a folder.
    QString Result() const { return m_result; }

    QGroupBox* fraMove;
    QTreeWidget* tList;
    QPushButton* cmdOk;
    QPushButton* cmdAbort;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void cmdOkClick();
    void cmdAbortClick();
    void tListAddition(QTreeWidgetItem* node);
    void tListCollapsed(QTreeWidgetItem* node);
    void tListExpanded(QTreeWidgetItem* node);

    std::unique_ptr<TLanguageHandling> m_language;
    QString m_result;
};

// Shows the dialog over a copy of `mainTree` (its first top-level node is
// the archive's top, labelled with the `ident` text 1; the others "Caption
// (id)"). Returns the chosen folder id in decimal, "0" for the top level, or
// an empty text when the user cancelled.
QString ChooseTargetFolder(const QTreeWidget& mainTree, QWidget* parent);
