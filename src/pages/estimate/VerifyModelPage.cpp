#include "VerifyModelPage.h"

#include "app/PelkWindow.h"
#include "estimation/EstimationSequence.h"
#include "estimation/ModelVerifier.h"
#include "pages/estimate/EstimatePage.h"

#include <QTextEdit>
#include <QVBoxLayout>

VerifyModelPage::VerifyModelPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Verify the Model"),
      m_textEdit(new QTextEdit(this)),
      m_sink(m_textEdit->document())
{
    m_textEdit->setObjectName("textEdit");
    m_textEdit->setReadOnly(true);
    contentLayout()->addWidget(m_textEdit);
}

void VerifyModelPage::onPageActivated()
{
    verify();
}

void VerifyModelPage::verify()
{
    m_textEdit->clear();
    m_sink.restart();
    PelkWindow *window = mainWindow();
    // Verifying rebinds the formulas and points the parameters at a vector
    // of its own: never while the worker evaluates the same model. The
    // verdict follows when the run has ended.
    pelk::EstimatePage *estimatePage = window->estimatePage();
    if (estimatePage && estimatePage->isRunning()) {
        m_sink.write("The model is being estimated; it will be verified when the estimation has ended.\n",
                     pelk::MessageSink::Normal);
        connect(estimatePage->sequence(), &pelk::EstimationSequence::finished, this,
                &VerifyModelPage::verifyIfCurrent, Qt::UniqueConnection);
        return;
    }
    pelk::verifyModel(window->workspace().model, m_sink);
}

void VerifyModelPage::verifyIfCurrent()
{
    if (isCurrent())
        verify();
}
