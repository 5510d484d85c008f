// File > Compare Models...: the analyst adds workspace files, estimates
// them in the background (several at once, with progress and Cancel, the
// open workspace untouched), and sees them ranked by AICc with their Akaike
// weights, the notes that qualify the ranking and the model-averaged
// estimates; the table exports as CSV. A double-click on a model asks the
// window to open its workspace (the window asks about unsaved changes).
#pragma once

#include "compare/ModelComparison.h"

#include <QDialog>

#include <optional>

class FileDialogs;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace pelk {
class ModelSetEstimator;
}

class CompareModelsDialog : public QDialog
{
    Q_OBJECT

public:
    CompareModelsDialog(FileDialogs &fileDialogs, QWidget *parent = nullptr);
    ~CompareModelsDialog() override;

    void addFiles(const QStringList &fileNames);
    QStringList files() const;
    // The last comparison, refused or not; none before the first.
    const std::optional<pelk::ModelComparison> &comparison() const { return m_comparison; }

public slots:
    void onAddWorkspace();
    void onRemove();
    void onEstimate();
    void onCancel();
    void onExportCsv();

signals:
    void openRequested(const QString &fileName);
    void helpRequested(const QString &pageName);
    // The estimation ended, compared, refused or cancelled.
    void comparisonFinished();

private:
    void onEstimatorFinished();
    void showComparison();
    void setRunning(bool running);

    FileDialogs &m_fileDialogs;
    pelk::ModelSetEstimator *m_estimator;
    std::optional<pelk::ModelComparison> m_comparison;
    QListWidget *m_fileList;
    QPushButton *m_addButton;
    QPushButton *m_removeButton;
    QPushButton *m_estimateButton;
    QPushButton *m_cancelButton;
    QPushButton *m_exportButton;
    QProgressBar *m_progress;
    QTableWidget *m_table;
    QLabel *m_messages;
};
