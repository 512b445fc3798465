#include "store/views.h"

#include <algorithm>

TMemoryTree::TMemoryTree() = default;
TMemoryTree::~TMemoryTree() = default;

void TMemoryTree::Clear() { m_top.clear(); }

std::vector<std::unique_ptr<TMemoryTree::Item>>& TMemoryTree::childrenOf(Node node)
{
    return node ? static_cast<Item*>(node)->children : m_top;
}

const std::vector<std::unique_ptr<TMemoryTree::Item>>& TMemoryTree::childrenOf(Node node) const
{
    return node ? static_cast<const Item*>(node)->children : m_top;
}

TArchiveTree::Node TMemoryTree::AddFirst(const QString& label)
{
    auto item = std::make_unique<Item>();
    item->label = label;
    Item* raw = item.get();
    m_top.insert(m_top.begin(), std::move(item));
    return raw;
}

TArchiveTree::Node TMemoryTree::AddChild(Node parent, const QString& label)
{
    auto item = std::make_unique<Item>();
    item->label = label;
    item->parent = static_cast<Item*>(parent);
    Item* raw = item.get();
    childrenOf(parent).push_back(std::move(item));
    return raw;
}

int TMemoryTree::ChildCount(Node node) const { return static_cast<int>(childrenOf(node).size()); }

TArchiveTree::Node TMemoryTree::Child(Node node, int index) const
{
    const auto& children = childrenOf(node);
    if (index < 0 || index >= static_cast<int>(children.size()))
        return nullptr;
    return children[static_cast<size_t>(index)].get();
}

QString TMemoryTree::Label(Node node) const
{
    return node ? static_cast<const Item*>(node)->label : QString();
}

void TMemoryTree::SetLabel(Node node, const QString& label)
{
    if (node)
        static_cast<Item*>(node)->label = label;
}

void TMemoryTree::Delete(Node node)
{
    if (!node)
        return;
    Item* item = static_cast<Item*>(node);
    auto& siblings = item->parent ? item->parent->children : m_top;
    auto it = std::find_if(siblings.begin(), siblings.end(),
                           [item](const std::unique_ptr<Item>& p) { return p.get() == item; });
    if (it != siblings.end())
        siblings.erase(it);
}

void TMemoryTree::SetFolderId(Node node, int id)
{
    if (node)
        static_cast<Item*>(node)->folderId = id;
}

int TMemoryTree::FolderId(Node node) const
{
    return node ? static_cast<const Item*>(node)->folderId : 0;
}
