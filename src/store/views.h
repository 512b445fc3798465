#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

// What the archive object needs of a tree view. The main window's tree, the
// quick menu's invisible tree and the in-memory tree below all serve.
// A node is an opaque handle owned by the tree; nullptr means "none".
class TArchiveTree {
public:
    using Node = void*;

    virtual ~TArchiveTree() = default;

    virtual void Clear() = 0;
    // Adds a node as the first top-level node.
    virtual Node AddFirst(const QString& label) = 0;
    // Adds a node as the last child of parent.
    virtual Node AddChild(Node parent, const QString& label) = 0;
    // Children of a node in order; a null node stands for the top level.
    virtual int ChildCount(Node node) const = 0;
    virtual Node Child(Node node, int index) const = 0;
    virtual QString Label(Node node) const = 0;
    virtual void SetLabel(Node node, const QString& label) = 0;
    // Removes a node with everything below it.
    virtual void Delete(Node node) = 0;

    // A tree may keep a folder's id with its node; labels stay as they are.
    virtual void SetFolderId(Node /*node*/, int /*id*/) {}

    // The tree's first node: the archive's top node, or null when empty.
    Node TopNode() const { return ChildCount(nullptr) > 0 ? Child(nullptr, 0) : nullptr; }
};

// A plain tree in memory.
class TMemoryTree final : public TArchiveTree {
public:
    TMemoryTree();
    ~TMemoryTree() override;

    void Clear() override;
    Node AddFirst(const QString& label) override;
    Node AddChild(Node parent, const QString& label) override;
    int ChildCount(Node node) const override;
    Node Child(Node node, int index) const override;
    QString Label(Node node) const override;
    void SetLabel(Node node, const QString& label) override;
    void Delete(Node node) override;
    void SetFolderId(Node node, int id) override;
    int FolderId(Node node) const;

private:
    struct Item {
        QString label;
        int folderId = 0;
        Item* parent = nullptr;
        std::vector<std::unique_ptr<Item>> children;
    };
    std::vector<std::unique_ptr<Item>>& childrenOf(Node node);
    const std::vector<std::unique_ptr<Item>>& childrenOf(Node node) const;

    std::vector<std::unique_ptr<Item>> m_top;
};

// What ListEntries needs of the entry list.
class TEntryListView {
public:
    virtual ~TEntryListView() = default;
    virtual void Clear() = 0;
    virtual void AddRow(const QString& id, const QString& caption, const QString& description,
                        const QString& kind, int imageIndex) = 0;
};

// What ShowPreview needs of the preview.
class TPreviewView {
public:
    virtual ~TPreviewView() = default;
    virtual void Clear() = 0;
    virtual void ShowPlainText(const QString& text) = 0;
    // Loads RTF source. In plain mode (e-mail and hyperlink entries) the text
    // is shown as one line of plain text.
    virtual void LoadRtf(const QString& source, bool plainMode) = 0;
};
