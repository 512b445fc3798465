#include "mainwindow/treeviews.h"

#include "richtext/richtext.h"
#include "store/define.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

// --- tree -------------------------------------------------------------------

QTreeWidgetItem* TTreeWidgetAdapter::newItem(const QString& label) const
{
    auto* item = new QTreeWidgetItem(QStringList{label});
    item->setData(0, Qt::UserRole, 0); // closed-folder image until expanded
    return item;
}

void TTreeWidgetAdapter::Clear() { m_tree.clear(); }

TArchiveTree::Node TTreeWidgetAdapter::AddFirst(const QString& label)
{
    QTreeWidgetItem* item = newItem(label);
    m_tree.insertTopLevelItem(0, item);
    return item;
}

TArchiveTree::Node TTreeWidgetAdapter::AddChild(Node parent, const QString& label)
{
    QTreeWidgetItem* item = newItem(label);
    if (parent)
        Item(parent)->addChild(item);
    else
        m_tree.addTopLevelItem(item);
    return item;
}

int TTreeWidgetAdapter::ChildCount(Node node) const
{
    return node ? Item(node)->childCount() : m_tree.topLevelItemCount();
}

TArchiveTree::Node TTreeWidgetAdapter::Child(Node node, int index) const
{
    return node ? Item(node)->child(index) : m_tree.topLevelItem(index);
}

QString TTreeWidgetAdapter::Label(Node node) const { return node ? Item(node)->text(0) : QString(); }

void TTreeWidgetAdapter::SetLabel(Node node, const QString& label)
{
    if (node)
        Item(node)->setText(0, label);
}

void TTreeWidgetAdapter::Delete(Node node)
{
    // The item owns its children; deleting it takes the whole subtree.
    std::unique_ptr<QTreeWidgetItem> item(Item(node));
}

// --- entry list ---------------------------------------------------------------

TEntryList::TEntryList(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setColumnCount(4);
}

void TEntryList::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    m_armed = (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) &&
              currentItem() && currentItem()->isSelected();
    m_pressPos = event->position().toPoint();
    m_pressTime.start();
}

void TEntryList::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_armed || !(event->buttons() & (Qt::LeftButton | Qt::RightButton))) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    // A drag starts with the first move outside the drag distance that comes
    // at least 200 ms after the press.
    if ((event->position().toPoint() - m_pressPos).manhattanLength() <
            QApplication::startDragDistance() ||
        m_pressTime.elapsed() < 200)
        return;
    m_armed = false;
    QTreeWidgetItem* row = currentItem();
    if (!row || !dragText)
        return;
    const int kind = row->data(3, Qt::UserRole).toInt();
    if (kind != 0 && kind != 1)
        return; // e-mail and hyperlink entries cannot be dragged
    auto* mime = new QMimeData;
    mime->setText(dragText(row->text(0).toInt()));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void TEntryList::mouseReleaseEvent(QMouseEvent* event)
{
    m_armed = false;
    QTreeWidget::mouseReleaseEvent(event);
}

void TEntryListAdapter::Clear() { m_list.clear(); }

void TEntryListAdapter::AddRow(const QString& id, const QString& caption,
                               const QString& description, const QString& kind, int imageIndex)
{
    auto* row = new QTreeWidgetItem(&m_list, QStringList{id, caption, description, kind});
    if (imageIndex >= 0 && imageIndex < m_images.size())
        row->setIcon(0, m_images[imageIndex]);
    row->setData(0, Qt::UserRole, imageIndex);
    // The kind is read back from the "Typ" text; an unknown text is plain text.
    const int code = KindFromName(kind);
    row->setData(3, Qt::UserRole, code);
}

// --- preview -----------------------------------------------------------------

void TPreviewAdapter::Clear() { m_view.clear(); }

void TPreviewAdapter::ShowPlainText(const QString& text)
{
    m_view.setPlainText(text);
    DetectUrls(m_view.document());
}

void TPreviewAdapter::LoadRtf(const QString& source, bool plainMode)
{
    if (plainMode) {
        // An address or URL is one line of plain text.
        QString line = source;
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        m_view.setPlainText(line);
    } else {
        m_view.clear();
        richtext::ReadRtf(source, m_view.document());
    }
    DetectUrls(m_view.document());
}

void TPreviewAdapter::DetectUrls(QTextDocument* document)
{
    static const QRegularExpression url(QStringLiteral(
        R"((?:(?:https?|ftp)://|www\.|mailto:)[^\s<>"]+|[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\.[A-Za-z]{2,})"));
    const QString text = document->toPlainText();
    auto it = url.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QString target = m.captured(0);
        // Trailing punctuation belongs to the sentence, not to the address.
        while (!target.isEmpty() && QStringLiteral(".,;:!?)]'").contains(target.back()))
            target.chop(1);
        if (target.isEmpty())
            continue;
        QString href = target;
        if (href.startsWith(QLatin1String("www.")))
            href.prepend(QStringLiteral("http://"));
        else if (!href.contains(QLatin1String("://")) && !href.startsWith(QLatin1String("mailto:")))
            href.prepend(QStringLiteral("mailto:"));
        QTextCursor cursor(document);
        cursor.setPosition(static_cast<int>(m.capturedStart(0)));
        cursor.setPosition(static_cast<int>(m.capturedStart(0) + target.size()), QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorHref(href);
        cursor.mergeCharFormat(format);
    }
}
