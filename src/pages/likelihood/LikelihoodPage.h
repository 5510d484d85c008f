#pragma once
#include "pages/frame/PelkContentPage.h"
class LikelihoodPage : public PelkContentPage
{
    Q_OBJECT
public:
    LikelihoodPage(PelkWindow *mainWindow, int likelihoodId, const QString &title)
        : PelkContentPage(mainWindow, title), m_likelihoodId(likelihoodId)
    {}
    int likelihoodId() const { return m_likelihoodId; }

private:
    int m_likelihoodId;
};
