// The "Bootstrap Goodness of Fit" page under View the Estimates: the last
// parametric bootstrap of the current estimates (Actions > Bootstrap
// Goodness of Fit...) as the lines pelk-cli prints, then one line per
// replicate. Available while a bootstrap of the current estimates exists.
#pragma once

#include "pages/frame/PelkContentPage.h"

class QPlainTextEdit;

class BootstrapPage : public PelkContentPage
{
    Q_OBJECT

public:
    explicit BootstrapPage(PelkWindow *mainWindow);

    QString helpPageName() const override { return QStringLiteral("viewBootstrap.html"); }
    QPlainTextEdit *textEdit() const { return m_textEdit; }

public slots:
    void showResult();

private:
    QPlainTextEdit *m_textEdit;
};
