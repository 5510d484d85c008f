// The table of convenience functions: the name takes a third of the width,
// the definition the rest. Its context menu, one action "Delete", is
// offered over the row of an existing function while the workspace is not
// locked.
#pragma once

#include <QTableView>

class QMenu;
class VariableDefinitionsModel;

class VariableDefinitionsView : public QTableView
{
    Q_OBJECT

public:
    explicit VariableDefinitionsView(QWidget *parent = nullptr);

    // Shows the item model (replacing the previous one, whose selection
    // model is deleted; the item model itself belongs to the caller).
    void setDefinitionsModel(VariableDefinitionsModel *model);
    VariableDefinitionsModel *definitionsModel() const { return m_model; }
    bool isLocked() const { return m_locked; }

    // The context menu for a point of the viewport, or null when none is
    // offered there. The caller owns the menu.
    QMenu *createContextMenu(const QPoint &point);

public slots:
    void onClearEstimates();
    void onLockWorkspace();
    void showContextMenu(QPoint point);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitColumns(int width);

    VariableDefinitionsModel *m_model = nullptr;
    bool m_locked = false;
};
