// The category table of a likelihood page. Its context menu deletes the
// category of the row clicked; the workspace lock hides the menu (the item
// model makes the cells read-only at the same time). The three columns
// share the width: a third for the label, a quarter for the counts, the
// rest for the probability.
#pragma once

#include <QTableView>

class LikelihoodDefinitionModel;

class LikelihoodDefinitionView : public QTableView
{
    Q_OBJECT

public:
    explicit LikelihoodDefinitionView(LikelihoodDefinitionModel *model, QWidget *parent = nullptr);

    bool isLocked() const { return m_locked; }

public slots:
    void onClearEstimates();
    void onLockWorkspace();
    void showContextMenu(QPoint point);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    LikelihoodDefinitionModel *m_model;
    bool m_locked = false;
};
