#include "TableContentForm.h"

#include "PelkTableView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TableContentForm::TableContentForm(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TableContentForm"));

    m_saveToFileButton = new QPushButton(QStringLiteral("Save to File..."), this);
    m_saveToFileButton->setObjectName(QStringLiteral("saveToFileButton"));
    m_saveToFileButton->setWhatsThis(QStringLiteral("Save table to comma delimited (CSV) file"));

    m_copyToClipboardButton = new QPushButton(QStringLiteral("Copy to Clipboard"), this);
    m_copyToClipboardButton->setObjectName(QStringLiteral("copyToClipboardButton"));
    m_copyToClipboardButton->setWhatsThis(
        QStringLiteral("Copy table (including row and column headers) to clipboard"
                       " in a format suitable for pasting into a spreadsheet application"));

    m_tableView = new PelkTableView(this);
    m_tableView->setObjectName(QStringLiteral("tableView"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_saveToFileButton);
    buttons->addWidget(m_copyToClipboardButton);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(m_tableView);

    connect(m_saveToFileButton, &QPushButton::clicked, this, &TableContentForm::saveToFileClicked);
    connect(m_copyToClipboardButton, &QPushButton::clicked, this, &TableContentForm::copyToClipboardClicked);
}
