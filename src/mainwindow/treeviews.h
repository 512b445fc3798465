#pragma once

#include "store/views.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QTextBrowser>
#include <QTreeWidget>

#include <functional>

// The main window's folder tree as the archive object sees it. A node is a
// QTreeWidgetItem; its label is the item's text.
class TTreeWidgetAdapter final : public TArchiveTree {
public:
    explicit TTreeWidgetAdapter(QTreeWidget& tree) : m_tree(tree) {}

    void Clear() override;
    Node AddFirst(const QString& label) override;
    Node AddChild(Node parent, const QString& label) override;
    int ChildCount(Node node) const override;
    Node Child(Node node, int index) const override;
    QString Label(Node node) const override;
    void SetLabel(Node node, const QString& label) override;
    void Delete(Node node) override;

    static QTreeWidgetItem* Item(Node node) { return static_cast<QTreeWidgetItem*>(node); }

private:
    QTreeWidgetItem* newItem(const QString& label) const;
    QTreeWidget& m_tree;
};

// The entry list: a report view with the columns ID, Name, Beschreibung,
// Typ. Plain and formatted entries can be dragged out as plain text.
class TEntryList final : public QTreeWidget {
    Q_OBJECT
public:
    explicit TEntryList(QWidget* parent = nullptr);

    // The stored text of the entry a drag carries; asked when a drag starts.
    std::function<QString(int entryId)> dragText;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint m_pressPos;
    QElapsedTimer m_pressTime;
    bool m_armed = false;
};

class TEntryListAdapter final : public TEntryListView {
public:
    TEntryListAdapter(QTreeWidget& list, const QList<QIcon>& images) : m_list(list), m_images(images) {}
    void Clear() override;
    void AddRow(const QString& id, const QString& caption, const QString& description,
                const QString& kind, int imageIndex) override;

private:
    QTreeWidget& m_list;
    const QList<QIcon>& m_images;
};

// The preview: read-only rich text with detected web and mail addresses
// shown as links.
class TPreviewAdapter final : public TPreviewView {
public:
    explicit TPreviewAdapter(QTextBrowser& view) : m_view(view) {}
    void Clear() override;
    void ShowPlainText(const QString& text) override;
    void LoadRtf(const QString& source, bool plainMode) override;

    // Marks every web and mail address of the view's text as a link.
    static void DetectUrls(QTextDocument* document);

private:
    QTextBrowser& m_view;
};
