// The "Parameter Seeds" page: the start value of every parameter, edited in
// a table or pasted as a column of numbers from the clipboard. The seeds
// belong to the main window; the page's item model keeps them in step with
// the parameters.
#pragma once

#include "pages/frame/PelkContentPage.h"

#include <QPointer>

#include <vector>

namespace pelk {
class ModelDefinition;
}
class ParameterSeedDelegate;
class ParameterSeedsForm;
class ParameterSeedsModel;

class ParameterSeedsPage : public PelkContentPage
{
    Q_OBJECT

public:
    explicit ParameterSeedsPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "setParameterSeeds.html"; }

    // Shows the seeds of a new model definition, replacing the item model.
    void setModelDefinition(pelk::ModelDefinition *model, std::vector<double> *seeds);
    // Sets the seed of parameter i as an edit of its cell would.
    void setSeed(int i, double value);

    ParameterSeedsForm *form() const { return m_form; }
    ParameterSeedsModel *seedsModel() const { return m_seedsModel; }

signals:
    void parameterSeedsChanged();

public slots:
    void onCopyFromClipboard();

private slots:
    void onIllegalSeed(int i);

private:
    ParameterSeedsForm *m_form;
    ParameterSeedDelegate *m_delegate;
    ParameterSeedsModel *m_seedsModel = nullptr;
    QPointer<pelk::ModelDefinition> m_model;
};
