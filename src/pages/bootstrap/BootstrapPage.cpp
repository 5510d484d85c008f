#include "BootstrapPage.h"

#include "app/PelkWindow.h"
#include "estimation/BootstrapResult.h"
#include "io/BootstrapTextWriter.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

BootstrapPage::BootstrapPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, QStringLiteral("Bootstrap Goodness of Fit")),
      m_textEdit(new QPlainTextEdit(contentFrame()))
{
    m_textEdit->setObjectName(QStringLiteral("textEdit"));
    m_textEdit->setReadOnly(true);
    m_textEdit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    contentLayout()->addWidget(m_textEdit);
    setAvailable(false);
    connect(mainWindow, &PelkWindow::bootstrapComplete, this, &BootstrapPage::showResult);
    connect(mainWindow, &PelkWindow::clearEstimates, this, &BootstrapPage::showResult);
    // The frame makes pages available with the lock; this one needs a result.
    connect(mainWindow, &PelkWindow::lockWorkspace, this, &BootstrapPage::showResult);
}

void BootstrapPage::showResult()
{
    const pelk::BootstrapResult *result = mainWindow()->bootstrapResult();
    setAvailable(result != nullptr);
    if (!result) {
        m_textEdit->clear();
        return;
    }
    QString text = pelk::BootstrapTextWriter::write(*result);
    text += QStringLiteral("\nreplicate\tdeviance\tPearson X^2\n");
    for (const pelk::BootstrapResult::Replicate &replicate : result->results)
        text += replicate.failed ? QStringLiteral("%1\tfailed\tfailed\n").arg(replicate.replicate)
                                 : QStringLiteral("%1\t%2\t%3\n")
                                       .arg(replicate.replicate)
                                       .arg(replicate.deviance, 0, 'g', 6)
                                       .arg(replicate.pearson, 0, 'g', 6);
    m_textEdit->setPlainText(text);
}
