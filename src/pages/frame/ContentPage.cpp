#include "ContentPage.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

ContentPage::ContentPage(QWidget *parent, const QString &title) : QWidget(parent)
{
    setObjectName("ContentPage");
    setWindowTitle("Form");
    resize(647, 532);

    auto *layout = new QVBoxLayout(this);

    m_titleLabel = new QLabel("Page Title", this);
    m_titleLabel->setObjectName("pageTitleLabel");
    QFont titleFont("Arial", 12);
    titleFont.setBold(true);
    m_titleLabel->setFont(titleFont);
    m_titleLabel->setMinimumHeight(30);
    layout->addWidget(m_titleLabel);

    m_contentFrame = new QFrame(this);
    m_contentFrame->setObjectName("contentFrame");
    m_contentFrame->setFrameShape(QFrame::StyledPanel);
    m_contentFrame->setFrameShadow(QFrame::Raised);
    m_contentLayout = new QVBoxLayout(m_contentFrame);
    layout->addWidget(m_contentFrame, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_previousButton = new QPushButton(QIcon(":/icons/go-previous.png"), "Previous", this);
    m_previousButton->setObjectName("previousButton");
    m_nextButton = new QPushButton(QIcon(":/icons/go-next.png"), "Next", this);
    m_nextButton->setObjectName("nextButton");
    m_previousButton->setEnabled(false);
    m_nextButton->setEnabled(false);
    buttons->addWidget(m_previousButton);
    buttons->addWidget(m_nextButton);
    layout->addLayout(buttons);

    auto *statusBarFrame = new QFrame(this);
    statusBarFrame->setObjectName("statusBarFrame");
    auto *statusLayout = new QGridLayout(statusBarFrame);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    m_statusBar = new QStatusBar(statusBarFrame);
    m_statusBar->setSizeGripEnabled(false);
    statusLayout->addWidget(m_statusBar);
    layout->addWidget(statusBarFrame);

    connect(m_nextButton, &QPushButton::clicked, this, &ContentPage::onNextClicked);
    connect(m_previousButton, &QPushButton::clicked, this, &ContentPage::onPreviousClicked);

    setTitle(title);
}

void ContentPage::setTitle(const QString &title)
{
    m_title = title;
    m_titleLabel->setText(title);
    emit pageStatusChanged(this);
}

void ContentPage::setAvailable(bool available)
{
    if (available == m_available)
        return;
    m_available = available;
    emit pageStatusChanged(this);
}

void ContentPage::setCurrent(bool current)
{
    if (current == m_current)
        return;
    m_current = current;
    if (current)
        onPageActivated();
    else
        onPageDeactivated();
    emit pageStatusChanged(this);
}

void ContentPage::setNextPage(ContentPage *page)
{
    m_nextPage = page;
    m_nextButton->setEnabled(page && page->isAvailable());
}

void ContentPage::setPreviousPage(ContentPage *page)
{
    m_previousPage = page;
    m_previousButton->setEnabled(page && page->isAvailable());
}

void ContentPage::onNextClicked()
{
    emit nextRequested(this);
}

void ContentPage::onPreviousClicked()
{
    emit previousRequested(this);
}

void ContentPage::onLinkedPageStatusChanged(ContentPage *page)
{
    if (page == m_nextPage)
        m_nextButton->setEnabled(page->isAvailable());
    if (page == m_previousPage)
        m_previousButton->setEnabled(page->isAvailable());
}
