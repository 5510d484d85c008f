#include "NewLikelihoodDialog.h"

#include "app/PelkWindow.h"
#include "io/FileTextRules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

NewLikelihoodDialog::NewLikelihoodDialog(PelkWindow *mainWindow, QWidget *parent)
    : QDialog(parent), m_mainWindow(mainWindow)
{
    setWindowTitle("Create New Likelihood");

    auto *label = new QLabel("Enter name for new likelihood", this);
    m_nameLineEdit = new QLineEdit(this);
    m_nameLineEdit->setObjectName("newLikelihoodLineEdit");
    label->setBuddy(m_nameLineEdit);

    m_okButton = new QPushButton("OK", this);
    m_okButton->setObjectName("okButton");
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton("Cancel", this);
    m_cancelButton->setObjectName("cancelButton");
    m_moreButton = new QPushButton("More", this);
    m_moreButton->setObjectName("moreButton");
    m_moreButton->setCheckable(true);

    m_extensionWidget = new QWidget(this);
    m_extensionWidget->setObjectName("extensionWidget");
    m_multinomialRadio = new QRadioButton("Multinomial", m_extensionWidget);
    m_multinomialRadio->setObjectName("multinomialRadio");
    m_multinomialRadio->setChecked(true);
    m_normalRadio = new QRadioButton("Normal", m_extensionWidget);
    m_normalRadio->setObjectName("normalRadio");
    auto *extensionLayout = new QVBoxLayout(m_extensionWidget);
    extensionLayout->setContentsMargins(0, 0, 0, 0);
    extensionLayout->addWidget(m_multinomialRadio);
    extensionLayout->addWidget(m_normalRadio);
    m_extensionWidget->hide();

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_moreButton);
    buttons->addStretch();

    auto *nameColumn = new QVBoxLayout;
    nameColumn->addWidget(label);
    nameColumn->addWidget(m_nameLineEdit);
    nameColumn->addStretch();

    auto *top = new QHBoxLayout;
    top->addLayout(nameColumn);
    top->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_extensionWidget);
    // The dialog shrinks again when the extension is hidden.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_okButton, &QPushButton::clicked, this, &NewLikelihoodDialog::okClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_moreButton, &QPushButton::toggled, m_extensionWidget, &QWidget::setVisible);
}

void NewLikelihoodDialog::okClicked()
{
    // Names are kept as the workspace file reads them back: blanks collapsed.
    const QString name = m_nameLineEdit->text().simplified();
    if (name.isEmpty() || !pelk::FileTextRules::isWritableLikelihoodName(name)) {
        QMessageBox::critical(this, "New Likelihood", "Please enter a valid name");
        return;
    }
    if (!m_mainWindow->newLikelihood(name, m_normalRadio->isChecked())) {
        QMessageBox::critical(this, "New Likelihood", "Name already in use.  Please enter a unique name.");
        return;
    }
    accept();
}
