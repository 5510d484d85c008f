// The "Profile Likelihood Confidence Intervals" page: a grid of check boxes
// in which the analyst asks for profile-likelihood limits of parameters and
// convenience functions at each alpha level. The two request containers
// belong to the main window.
#pragma once

#include "pages/frame/PelkContentPage.h"

namespace pelk {
class ModelDefinition;
class ProfileLikelihoods;
} // namespace pelk
class ProfileLikelihoodRequestsModel;
class QTableView;

class ProfileLikelihoodsPage : public PelkContentPage
{
    Q_OBJECT

public:
    explicit ProfileLikelihoodsPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "setProfileLikelihoods.html"; }

    // Shows the requests of a new model definition or new containers,
    // replacing the item model.
    void setModelDefinition(pelk::ModelDefinition *model, pelk::ProfileLikelihoods *parameterRequests,
                            pelk::ProfileLikelihoods *variableRequests);

    QTableView *tableView() const { return m_tableView; }
    ProfileLikelihoodRequestsModel *requestsModel() const { return m_requestsModel; }

signals:
    void profileLikelihoodRequestsChanged();

private:
    QTableView *m_tableView;
    ProfileLikelihoodRequestsModel *m_requestsModel = nullptr;
};
