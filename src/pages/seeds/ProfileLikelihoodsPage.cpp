#include "ProfileLikelihoodsPage.h"

#include "ProfileLikelihoodRequestsModel.h"

#include "app/PelkWindow.h"

#include <QTableView>
#include <QVBoxLayout>

ProfileLikelihoodsPage::ProfileLikelihoodsPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Profile Likelihood Confidence Intervals"),
      m_tableView(new QTableView(this))
{
    m_tableView->setObjectName("tableView");
    contentLayout()->addWidget(m_tableView);
}

void ProfileLikelihoodsPage::setModelDefinition(pelk::ModelDefinition *model,
                                                pelk::ProfileLikelihoods *parameterRequests,
                                                pelk::ProfileLikelihoods *variableRequests)
{
    ProfileLikelihoodRequestsModel *previous = m_requestsModel;
    m_requestsModel = new ProfileLikelihoodRequestsModel(model, parameterRequests, variableRequests, this);
    if (mainWindow()->isLocked())
        m_requestsModel->onLockWorkspace();
    connect(mainWindow(), &PelkWindow::lockWorkspace, m_requestsModel,
            &ProfileLikelihoodRequestsModel::onLockWorkspace);
    connect(mainWindow(), &PelkWindow::clearEstimates, m_requestsModel,
            &ProfileLikelihoodRequestsModel::onClearEstimates);
    connect(m_requestsModel, &QAbstractItemModel::dataChanged, this,
            &ProfileLikelihoodsPage::profileLikelihoodRequestsChanged);
    m_tableView->setModel(m_requestsModel);
    delete previous;
}
