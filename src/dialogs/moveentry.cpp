#include "dialogs/moveentry.h"

#include "language/language.h"
#include "store/define.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

TMoveEntry::TMoveEntry(QWidget* parent)
    : QDialog(parent), m_language(std::make_unique<TLanguageHandling>()) {
    setObjectName(QStringLiteral("TMoveEntry"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    fraMove = new QGroupBox(this);
    fraMove->setObjectName(QStringLiteral("fraMove"));
    tList = new QTreeWidget(fraMove);
    tList->setObjectName(QStringLiteral("tList"));
    tList->setHeaderHidden(true);
    tList->setColumnCount(1);
    tList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tList->setSelectionMode(QAbstractItemView::SingleSelection);
    tList->setSelectionBehavior(QAbstractItemView::SelectRows);
    tList->setAllColumnsShowFocus(true);
    auto* frameLayout = new QVBoxLayout(fraMove);
    frameLayout->addWidget(tList);
    connect(tList, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { tListExpanded(node); });
    connect(tList, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* node) { tListCollapsed(node); });

    cmdOk = new QPushButton(this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdAbort = new QPushButton(this);
    cmdAbort->setObjectName(QStringLiteral("cmdAbort"));
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOkClick(); });
    connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbortClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdAbort);

    auto* main = new QVBoxLayout(this);
    main->addWidget(fraMove, 1);
    main->addLayout(buttons);
    setFixedSize(321, 279);
}

TMoveEntry::~TMoveEntry() = default;

void TMoveEntry::CopyTree(const QTreeWidget& source) {
    tList->clear();
    for (int i = 0; i < source.topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = source.topLevelItem(i)->clone();
        tList->addTopLevelItem(node);
        tListAddition(node);
    }
    // The top node open, so the first level of folders is in sight.
    if (QTreeWidgetItem* top = tList->topLevelItem(0))
        top->setExpanded(true);
}

void TMoveEntry::showEvent(QShowEvent* event) {
    FormShow();
    // The new texts may need other button widths before the window appears.
    layout()->activate();
    QDialog::showEvent(event);
}

void TMoveEntry::FormShow() {
    setWindowTitle(m_language->GetCaption(10));
    const QString section = QStringLiteral("moveentry");
    fraMove->setTitle(m_language->GetText(section, QStringLiteral("1"),
                                          QStringLiteral("Eintrag verschieben nach")));
    cmdOk->setText(m_language->GetText(section, QStringLiteral("2"), QStringLiteral("Ok")));
    cmdAbort->setText(
        m_language->GetText(section, QStringLiteral("3"), QStringLiteral("Abbrechen")));
}

void TMoveEntry::cmdOkClick() {
    const QList<QTreeWidgetItem*> selected = tList->selectedItems();
    if (selected.isEmpty())
        return;
    const QString label = selected.first()->text(0);
    int id = 0;
    if (label == m_language->GetIdent(1))
        m_result = QStringLiteral("0");
    else if (FolderIdFromLabel(label, id))
        m_result = QString::number(id);
    else
        return; // not a folder node: nothing to move to
    accept();
}

void TMoveEntry::cmdAbortClick() {
    m_result.clear();
    reject();
}

void TMoveEntry::tListAddition(QTreeWidgetItem* node) {
    node->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
    node->setFlags(node->flags() & ~Qt::ItemIsEditable);
    for (int i = 0; i < node->childCount(); ++i)
        tListAddition(node->child(i));
}

void TMoveEntry::tListCollapsed(QTreeWidgetItem* node) {
    node->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
}

void TMoveEntry::tListExpanded(QTreeWidgetItem* node) {
    node->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
}

QString ChooseTargetFolder(const QTreeWidget& mainTree, QWidget* parent) {
    TMoveEntry dialog(parent);
    dialog.CopyTree(mainTree);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.Result();
}
