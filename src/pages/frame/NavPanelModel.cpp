#include "NavPanelModel.h"

#include "ContentPage.h"

#include <QBrush>
#include <QFont>

// A group (page null) or a page of the tree; owns its children.
class NavPanelModel::Item
{
public:
    Item(const QString &groupText, ContentPage *page) : groupText(groupText), page(page) {}
    ~Item() { qDeleteAll(children); }

    QString text() const { return page ? page->title() : groupText; }

    // The first (last) page of this item's subtree, descending through
    // first (last) children; null for an empty group.
    ContentPage *firstPage() const
    {
        const Item *item = this;
        while (!item->page && !item->children.isEmpty())
            item = item->children.first();
        return item->page;
    }
    ContentPage *lastPage() const
    {
        const Item *item = this;
        while (!item->page && !item->children.isEmpty())
            item = item->children.last();
        return item->page;
    }

    QString groupText;
    ContentPage *page;
    QList<Item *> children;
    Item *parent = nullptr;
};

NavPanelModel::NavPanelModel(QObject *parent) : QAbstractItemModel(parent) {}

NavPanelModel::~NavPanelModel()
{
    qDeleteAll(m_topItems);
}

NavPanelModel::Item *NavPanelModel::addGroup(const QString &text, Item *parent)
{
    return append(new Item(text, nullptr), parent);
}

NavPanelModel::Item *NavPanelModel::addPage(ContentPage *page, Item *parent)
{
    Item *item = append(new Item(QString(), page), parent);
    m_itemOfPage.insert(page, item);
    connect(page, &ContentPage::pageStatusChanged, this, &NavPanelModel::onPageStatusChanged);
    connect(page, &ContentPage::nextRequested, this, &NavPanelModel::onNextRequested);
    connect(page, &ContentPage::previousRequested, this, &NavPanelModel::onPreviousRequested);
    relinkPages();
    return item;
}

NavPanelModel::Item *NavPanelModel::append(Item *item, Item *parent)
{
    item->parent = parent;
    QList<Item *> &siblings = parent ? parent->children : m_topItems;
    const QModelIndex parentIndex = parent ? indexOfItem(parent) : QModelIndex();
    beginInsertRows(parentIndex, int(siblings.size()), int(siblings.size()));
    siblings.append(item);
    m_allItems.append(item);
    endInsertRows();
    return item;
}

void NavPanelModel::removePage(ContentPage *page)
{
    Item *item = m_itemOfPage.value(page);
    if (!item)
        return;
    disconnect(page, nullptr, this, nullptr);
    QList<Item *> &siblings = item->parent ? item->parent->children : m_topItems;
    const int row = int(siblings.indexOf(item));
    beginRemoveRows(indexOfItem(item).parent(), row, row);
    siblings.removeAt(row);
    endRemoveRows();
    m_allItems.removeOne(item);
    m_itemOfPage.remove(page);
    if (m_currentPage == page)
        m_currentPage = nullptr;
    delete item;
    relinkPages();
}

void NavPanelModel::setCurrentPage(ContentPage *page)
{
    ContentPage *previous = m_currentPage;
    m_currentPage = page;
    if (previous && previous != page)
        previous->setCurrent(false);
    page->setCurrent(true);
    emit currentPageChanged(page);
}

const QList<NavPanelModel::Item *> &NavPanelModel::siblingsOf(const Item *item) const
{
    return item->parent ? item->parent->children : m_topItems;
}

// The page reached from item by walking one step in the tree's display
// order (step +1: next, -1: previous): at the first level where the item or
// an ancestor has a sibling that way, the nearest page of that sibling.
ContentPage *NavPanelModel::neighbourPage(const Item *item, int step) const
{
    for (const Item *level = item; level; level = level->parent) {
        const QList<Item *> &siblings = siblingsOf(level);
        const qsizetype row = siblings.indexOf(const_cast<Item *>(level)) + step;
        if (row >= 0 && row < siblings.size())
            return step > 0 ? siblings.at(row)->firstPage() : siblings.at(row)->lastPage();
    }
    return nullptr;
}

void NavPanelModel::relinkPages()
{
    for (Item *item : std::as_const(m_allItems)) {
        if (!item->page)
            continue;
        item->page->setNextPage(neighbourPage(item, +1));
        item->page->setPreviousPage(neighbourPage(item, -1));
    }
}

bool NavPanelModel::isAvailable(const Item *item)
{
    if (item->page)
        return item->page->isAvailable();
    for (const Item *child : item->children) {
        if (isAvailable(child))
            return true;
    }
    return false;
}

QModelIndex NavPanelModel::indexOfPage(ContentPage *page) const
{
    Item *item = m_itemOfPage.value(page);
    return item ? indexOfItem(item) : QModelIndex();
}

QModelIndex NavPanelModel::indexOfItem(Item *item) const
{
    return createIndex(int(siblingsOf(item).indexOf(item)), 0, item);
}

QModelIndex NavPanelModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return QModelIndex();
    const QList<Item *> &children
        = parent.isValid() ? static_cast<Item *>(parent.internalPointer())->children : m_topItems;
    if (row >= children.size())
        return QModelIndex();
    return createIndex(row, 0, children.at(row));
}

QModelIndex NavPanelModel::parent(const QModelIndex &index) const
{
    if (!index.isValid())
        return QModelIndex();
    Item *parentItem = static_cast<Item *>(index.internalPointer())->parent;
    return parentItem ? indexOfItem(parentItem) : QModelIndex();
}

int NavPanelModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(parent.isValid() ? static_cast<Item *>(parent.internalPointer())->children.size()
                                : m_topItems.size());
}

int NavPanelModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant NavPanelModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const Item *item = static_cast<Item *>(index.internalPointer());
    switch (role) {
    case Qt::DisplayRole:
        return item->text();
    case Qt::FontRole: {
        QFont font("Arial", 10);
        font.setBold(item->page && item->page == m_currentPage);
        return font;
    }
    case Qt::ForegroundRole:
        if (!isAvailable(item))
            return QBrush(Qt::darkGray);
        if (item->page)
            return QBrush(Qt::blue);
        return QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags NavPanelModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return QAbstractItemModel::flags(index);
    return QAbstractItemModel::flags(index) | Qt::ItemIsSelectable;
}

void NavPanelModel::openPageAt(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    ContentPage *page = static_cast<Item *>(index.internalPointer())->page;
    // The click that starts a double click has opened the page already.
    if (page && page->isAvailable() && page != m_currentPage)
        setCurrentPage(page);
}

void NavPanelModel::onPageStatusChanged(ContentPage *contentPage)
{
    for (auto it = m_itemOfPage.cbegin(); it != m_itemOfPage.cend(); ++it)
        it.key()->onLinkedPageStatusChanged(contentPage);
    for (Item *item = m_itemOfPage.value(contentPage); item; item = item->parent) {
        const QModelIndex index = indexOfItem(item);
        emit dataChanged(index, index);
    }
}

void NavPanelModel::onNextRequested(ContentPage *contentPage)
{
    if (ContentPage *next = contentPage->nextPage())
        setCurrentPage(next);
}

void NavPanelModel::onPreviousRequested(ContentPage *contentPage)
{
    if (ContentPage *previous = contentPage->previousPage())
        setCurrentPage(previous);
}

void NavPanelModel::onHelpRequested(ContentPage *) {}
