// The item model of the navigation panel: a tree of groups and pages in
// which the current page is bold and pages that cannot be visited are gray.
// It also links every page to the pages before and after it in the order
// the tree shows, so that Previous and Next walk the tree across groups.
#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QList>

class ContentPage;

class NavPanelModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    class Item;

    explicit NavPanelModel(QObject *parent = nullptr);
    ~NavPanelModel() override;

    // Appends a group or a page under parent, or at the top level when
    // parent is null.
    Item *addGroup(const QString &text, Item *parent = nullptr);
    Item *addPage(ContentPage *page, Item *parent = nullptr);
    void removePage(ContentPage *page);

    ContentPage *currentPage() const { return m_currentPage; }
    void setCurrentPage(ContentPage *page);

    QModelIndex indexOfPage(ContentPage *page) const;
    QModelIndex indexOfItem(Item *item) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    void currentPageChanged(ContentPage *page);

public slots:
    // Makes the page at index current, when it can be visited; a click on a
    // group or on a gray page changes nothing. The panel calls it on a
    // single click and on a double click alike.
    void openPageAt(const QModelIndex &index);
    void onPageStatusChanged(ContentPage *contentPage);
    void onNextRequested(ContentPage *contentPage);
    void onPreviousRequested(ContentPage *contentPage);
    void onHelpRequested(ContentPage *contentPage);

private:
    Item *append(Item *item, Item *parent);
    const QList<Item *> &siblingsOf(const Item *item) const;
    ContentPage *neighbourPage(const Item *item, int step) const;
    void relinkPages();
    static bool isAvailable(const Item *item);

    QList<Item *> m_topItems;
    QList<Item *> m_allItems;
    QHash<ContentPage *, Item *> m_itemOfPage;
    ContentPage *m_currentPage = nullptr;
};
