// What every PELK page shares beyond the frame: the "Workspace Locked"
// indicator shown while estimates exist, and the help page that a click in
// What's This mode opens.
#pragma once

#include "ContentPage.h"

class PelkWindow;
class QLabel;

class PelkContentPage : public ContentPage
{
    Q_OBJECT

public:
    PelkContentPage(PelkWindow *mainWindow, const QString &title);

    PelkWindow *mainWindow() const { return m_mainWindow; }
    // The file of this page in the help collection, e.g. "estimate.html".
    virtual QString helpPageName() const = 0;
    bool isLockLabelShown() const;

public slots:
    void onLockWorkspace();
    void onClearEstimates();

protected:
    bool event(QEvent *event) override;

private:
    PelkWindow *m_mainWindow;
    QLabel *m_lockLabel;
};
