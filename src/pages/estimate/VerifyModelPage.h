// The page "Verify the Model": each time it is shown it checks the model
// afresh (binding every symbol) and shows the findings and the verdict,
// errors in bold, in a read-only text area.
#pragma once

#include "TextCursorSink.h"
#include "pages/frame/PelkContentPage.h"

class QTextEdit;

class VerifyModelPage : public PelkContentPage
{
    Q_OBJECT

public:
    explicit VerifyModelPage(PelkWindow *mainWindow);

    QString helpPageName() const override { return "verifyModel.html"; }
    QTextEdit *textEdit() const { return m_textEdit; }

public slots:
    // Replaces the text by the findings on the current model.
    void verify();

protected slots:
    void onPageActivated() override;

private:
    void verifyIfCurrent();

    QTextEdit *m_textEdit;
    TextCursorSink m_sink;
};
