// The grid of parameter names. Its five columns share the width equally;
// its context menu, "Parameter Action" with one action "Delete", is
// offered over a cell holding a parameter while the workspace is not
// locked.
#pragma once

#include <QTableView>

class ParameterDefinitionsModel;
class QMenu;

class ParameterDefinitionsView : public QTableView
{
    Q_OBJECT

public:
    explicit ParameterDefinitionsView(QWidget *parent = nullptr);

    // Shows the item model (replacing the previous one, whose selection
    // model is deleted; the item model itself belongs to the caller).
    void setDefinitionsModel(ParameterDefinitionsModel *model);
    ParameterDefinitionsModel *definitionsModel() const { return m_model; }
    bool isLocked() const { return m_locked; }

    // The context menu for a point of the viewport, or null when none is
    // offered there. The caller owns the menu.
    QMenu *createContextMenu(const QPoint &point);

public slots:
    void onLockWorkspace();
    void onClearEstimates();
    void showContextMenu(QPoint point);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitColumns(int width);

    ParameterDefinitionsModel *m_model = nullptr;
    bool m_locked = false;
};
