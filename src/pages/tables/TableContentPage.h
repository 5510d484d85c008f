// A page showing one read-only result table, with "Save to File..."
// (comma-separated text) and "Copy to Clipboard" (tab-separated text). The
// page owns the table's item model; it is available from the first model it
// is given until the estimates are cleared.
#pragma once

#include "pages/frame/PelkContentPage.h"

class QAbstractItemModel;
class TableContentForm;

class TableContentPage : public PelkContentPage
{
    Q_OBJECT

public:
    TableContentPage(PelkWindow *mainWindow, const QString &title);

    TableContentForm *form() const { return m_form; }
    QAbstractItemModel *tableModel() const { return m_model; }

public slots:
    void onSaveToFile();
    void onCopyToClipboard();
    // Hides the base's slot of the same name, which stays connected and
    // still removes the lock indicator.
    void onClearEstimates();

protected:
    // Shows the model (taking ownership) and makes the page available. A null
    // model leaves an empty table with nothing to export.
    void setModel(QAbstractItemModel *model);

private:
    void showWriteError(const QString &fileName);

    TableContentForm *m_form;
    QAbstractItemModel *m_model = nullptr;
};
