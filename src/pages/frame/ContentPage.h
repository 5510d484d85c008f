// The frame of every screen of PELK: a title, a content area, Previous and
// Next buttons and a status bar of its own, plus whether the page can be
// visited now (available) and whether it is the one shown (current). The
// navigation model links the pages into the order the navigation panel
// shows and moves between them.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QStatusBar;
class QVBoxLayout;

class ContentPage : public QWidget
{
    Q_OBJECT

public:
    ContentPage(QWidget *parent, const QString &title);

    QString title() const { return m_title; }
    void setTitle(const QString &title);

    bool isAvailable() const { return m_available; }
    void setAvailable(bool available);

    bool isCurrent() const { return m_current; }
    void setCurrent(bool current);

    ContentPage *nextPage() const { return m_nextPage; }
    ContentPage *previousPage() const { return m_previousPage; }
    void setNextPage(ContentPage *page);
    void setPreviousPage(ContentPage *page);

    QStatusBar *statusBar() const { return m_statusBar; }
    // Pages put their widgets into this frame's layout.
    QFrame *contentFrame() const { return m_contentFrame; }
    QVBoxLayout *contentLayout() const { return m_contentLayout; }
    QPushButton *nextButton() const { return m_nextButton; }
    QPushButton *previousButton() const { return m_previousButton; }

signals:
    void pageStatusChanged(ContentPage *page);
    void nextRequested(ContentPage *page);
    void previousRequested(ContentPage *page);

public slots:
    void onNextClicked();
    void onPreviousClicked();
    // Keeps Next and Previous enabled exactly while their pages can be visited.
    void onLinkedPageStatusChanged(ContentPage *page);

protected slots:
    virtual void onPageActivated() {}
    virtual void onPageDeactivated() {}

private:
    QString m_title;
    ContentPage *m_nextPage = nullptr;
    ContentPage *m_previousPage = nullptr;
    bool m_available = true;
    bool m_current = false;

    QLabel *m_titleLabel;
    QFrame *m_contentFrame;
    QVBoxLayout *m_contentLayout;
    QPushButton *m_previousButton;
    QPushButton *m_nextButton;
    QStatusBar *m_statusBar;
};
