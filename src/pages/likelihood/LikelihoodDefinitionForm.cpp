#include "LikelihoodDefinitionForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

LikelihoodDefinitionForm::LikelihoodDefinitionForm(QWidget *parent) : QWidget(parent)
{
    setObjectName("LikelihoodDefinitionForm");

    m_contentFrame = new QFrame(this);
    m_contentFrame->setObjectName("contentFrame");
    auto *contentLayout = new QVBoxLayout(m_contentFrame);
    contentLayout->setContentsMargins(0, 0, 0, 0);

    auto makeButton = [this](const char *objectName, const QString &text) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(objectName);
        return button;
    };
    m_newLikelihoodButton = makeButton("newLikelihoodButton", "New Likelihood...");
    m_renameLikelihoodButton = makeButton("renameLikelihoodButton", "Rename Current Likelihood...");
    m_deleteLikelihoodButton = makeButton("deleteLikelihoodButton", "Delete Current Likelihood...");

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_newLikelihoodButton);
    buttons->addWidget(m_renameLikelihoodButton);
    buttons->addWidget(m_deleteLikelihoodButton);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_contentFrame, 1);
    layout->addLayout(buttons);

    connect(m_newLikelihoodButton, &QPushButton::clicked, this, &LikelihoodDefinitionForm::newLikelihood);
    connect(m_renameLikelihoodButton, &QPushButton::clicked, this,
            &LikelihoodDefinitionForm::renameLikelihood);
    connect(m_deleteLikelihoodButton, &QPushButton::clicked, this,
            &LikelihoodDefinitionForm::deleteLikelihood);
}
