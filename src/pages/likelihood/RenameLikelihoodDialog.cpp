#include "RenameLikelihoodDialog.h"

#include "LikelihoodPage.h"

#include "app/PelkWindow.h"
#include "io/FileTextRules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

RenameLikelihoodDialog::RenameLikelihoodDialog(PelkWindow *mainWindow, LikelihoodPage *page, QWidget *parent)
    : QDialog(parent), m_mainWindow(mainWindow), m_page(page)
{
    setWindowTitle("Rename Current Likelihood");

    auto *label = new QLabel("Enter name:", this);
    m_nameLineEdit = new QLineEdit(this);
    m_nameLineEdit->setObjectName("nameLineEdit");
    label->setBuddy(m_nameLineEdit);

    m_okButton = new QPushButton("OK", this);
    m_okButton->setObjectName("okButton");
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton("cancel", this);
    m_cancelButton->setObjectName("cancelButton");

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(label);
    nameRow->addWidget(m_nameLineEdit);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(buttons);

    connect(m_okButton, &QPushButton::clicked, this, &RenameLikelihoodDialog::okRequested);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void RenameLikelihoodDialog::okRequested()
{
    // Names are kept as the workspace file reads them back: blanks collapsed.
    const QString name = m_nameLineEdit->text().simplified();
    if (name.isEmpty() || !pelk::FileTextRules::isWritableLikelihoodName(name)) {
        QMessageBox::critical(this, "Rename Likelihood", "Please enter a valid name.");
        return;
    }
    if (!m_mainWindow->renameLikelihood(m_page, name)) {
        QMessageBox::critical(this, "Rename Likelihood", "Name already in use");
        return;
    }
    accept();
}
