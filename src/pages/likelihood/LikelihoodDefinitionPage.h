// The page of one multinomial likelihood: its categories in a table
// (label, probability formula, observed count), the symbol tool bars that
// insert names into the probability being edited, and the buttons that
// create, rename and delete likelihoods. Every edit goes straight into the
// model definition and the window's category-counts map; refused edits are
// reported in the page's status bar.
#pragma once

#include "LikelihoodPage.h"

#include <QMap>

class CategoryCountsDelegate;
class CategoryLabelDelegate;
class EquationDelegate;
class LikelihoodDefinitionModel;
class LikelihoodDefinitionView;

namespace pelk {
class ModelDefinition;
}

class LikelihoodDefinitionPage : public LikelihoodPage
{
    Q_OBJECT

public:
    LikelihoodDefinitionPage(PelkWindow *mainWindow, int likelihoodId, pelk::ModelDefinition *model,
                             QMap<QString, int> *categoryCounts);
    QString helpPageName() const override { return "defineLikelihoods.html"; }

    LikelihoodDefinitionModel *definitionModel() const { return m_definitionModel; }
    LikelihoodDefinitionView *view() const { return m_view; }
    EquationDelegate *equationDelegate() const { return m_equationDelegate; }

signals:
    // A count typed into the table was stored.
    void categoryCountsChanged();
    // Relayed from the form, which never emits it.
    void loadCounts();

public slots:
    void onDuplicateCategoryLabelError(QString label);
    void onIllegalCategoryLabelError(QString label);
    void onIllegalCountsError(QString countsText);

private:
    LikelihoodDefinitionModel *m_definitionModel;
    LikelihoodDefinitionView *m_view;
    CategoryLabelDelegate *m_labelDelegate;
    EquationDelegate *m_equationDelegate;
    CategoryCountsDelegate *m_countsDelegate;
};
