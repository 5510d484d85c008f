#include "ParameterSeedsForm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

ParameterSeedsForm::ParameterSeedsForm(QWidget *parent)
    : QWidget(parent),
      m_copyFromClipboardButton(new QPushButton("Copy From Clipboard", this)),
      m_tableView(new QTableView(this))
{
    setObjectName("ParameterSeedsForm");
    m_copyFromClipboardButton->setObjectName("copyFromClipboardButton");
    m_copyFromClipboardButton->setWhatsThis(
        "To copy seeds from a spreadsheet, put them in one column in your spreadsheet, copy them to the "
        "clipboard,  and press the \"Copy from Clipboard\" button.");
    m_tableView->setObjectName("tableView");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_copyFromClipboardButton);
    buttonRow->addStretch(1);
    layout->addLayout(buttonRow);
    layout->addWidget(m_tableView);

    connect(m_copyFromClipboardButton, &QPushButton::clicked, this,
            &ParameterSeedsForm::copyFromClipboardRequest);
}
