#include "CompareModelsDialog.h"

#include "compare/ComparisonTable.h"
#include "compare/ModelSetEstimator.h"
#include "io/SafeTextFile.h"
#include "pages/frame/FileDialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextStream>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &text, const char *objectName, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CompareModelsDialog::CompareModelsDialog(FileDialogs &fileDialogs, QWidget *parent)
    : QDialog(parent), m_fileDialogs(fileDialogs), m_estimator(new pelk::ModelSetEstimator(this))
{
    setWindowTitle(QStringLiteral("Compare Models"));
    m_fileList = new QListWidget(this);
    m_fileList->setObjectName(QStringLiteral("fileList"));
    m_addButton = button(QStringLiteral("Add Workspace..."), "addButton", this);
    m_removeButton = button(QStringLiteral("Remove"), "removeButton", this);
    m_estimateButton = button(QStringLiteral("Estimate and Compare"), "estimateButton", this);
    m_cancelButton = button(QStringLiteral("Cancel"), "cancelButton", this);
    m_exportButton = button(QStringLiteral("Export CSV..."), "exportButton", this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("table"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->setToolTip(QStringLiteral("Double-click a model to open its workspace"));
    m_messages = new QLabel(this);
    m_messages->setObjectName(QStringLiteral("messages"));
    m_messages->setWordWrap(true);
    m_messages->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *fileButtons = new QVBoxLayout;
    for (QPushButton *b : {m_addButton, m_removeButton, m_estimateButton, m_cancelButton})
        fileButtons->addWidget(b);
    fileButtons->addStretch();
    auto *files = new QHBoxLayout;
    files->addWidget(m_fileList, 1);
    files->addLayout(fileButtons);
    auto *bottom = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    bottom->addButton(m_exportButton, QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addWidget(m_progress);
    layout->addWidget(m_table, 2);
    layout->addWidget(m_messages);
    layout->addWidget(bottom);
    resize(760, 520);

    connect(m_addButton, &QPushButton::clicked, this, &CompareModelsDialog::onAddWorkspace);
    connect(m_removeButton, &QPushButton::clicked, this, &CompareModelsDialog::onRemove);
    connect(m_estimateButton, &QPushButton::clicked, this, &CompareModelsDialog::onEstimate);
    connect(m_cancelButton, &QPushButton::clicked, this, &CompareModelsDialog::onCancel);
    connect(m_exportButton, &QPushButton::clicked, this, &CompareModelsDialog::onExportCsv);
    connect(bottom, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(bottom, &QDialogButtonBox::helpRequested, this,
            [this] { emit helpRequested(QStringLiteral("compareModels.html")); });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (m_comparison && row < m_comparison->rows.size())
            emit openRequested(m_comparison->rows.at(row).model.fileName);
    });
    connect(m_estimator, &pelk::ModelSetEstimator::progress, this, [this](int done, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(done);
    });
    connect(m_estimator, &pelk::ModelSetEstimator::finished, this, &CompareModelsDialog::onEstimatorFinished);
    setRunning(false);
}

// The runs end before the dialog's widgets go: the estimator is a child
// and its destructor cancels and waits for them.
CompareModelsDialog::~CompareModelsDialog() = default;

void CompareModelsDialog::addFiles(const QStringList &fileNames)
{
    for (const QString &fileName : fileNames)
        if (!files().contains(fileName))
            m_fileList->addItem(fileName);
    setRunning(false);
}

QStringList CompareModelsDialog::files() const
{
    QStringList names;
    for (int i = 0; i < m_fileList->count(); ++i)
        names.append(m_fileList->item(i)->text());
    return names;
}

void CompareModelsDialog::onAddWorkspace()
{
    const QString fileName = m_fileDialogs.getOpenFileName(
        this, QStringLiteral("Add Workspace"), FileDialogs::rememberedDirectory(QStringLiteral("workspaceDirectory")),
        QStringLiteral("Workspace files (*.txt *.pelk);;Results of pelk-cli estimate --json (*.json);;All files (*)"));
    if (fileName.isEmpty())
        return;
    FileDialogs::rememberDirectory(fileName, QStringLiteral("workspaceDirectory"));
    addFiles({fileName});
}

void CompareModelsDialog::onRemove()
{
    delete m_fileList->currentItem();
    setRunning(false);
}

void CompareModelsDialog::onEstimate()
{
    m_comparison.reset();
    m_table->clear();
    m_table->setRowCount(0);
    m_messages->setText(QStringLiteral("Estimating..."));
    m_progress->setRange(0, m_fileList->count());
    m_progress->setValue(0);
    setRunning(true);
    m_estimator->start(files());
}

void CompareModelsDialog::onCancel()
{
    m_estimator->cancel();
}

void CompareModelsDialog::onEstimatorFinished()
{
    setRunning(false);
    if (m_estimator->isCanceled()) {
        m_messages->setText(QStringLiteral("Canceled."));
    } else if (const QStringList problems = m_estimator->problems(); !problems.isEmpty()) {
        m_messages->setText(problems.join(u'\n'));
    } else {
        m_comparison = pelk::ModelComparison::compare(m_estimator->records(), {});
        showComparison();
    }
    setRunning(false);
    emit comparisonFinished();
}

void CompareModelsDialog::showComparison()
{
    if (!m_comparison->refusal.isEmpty()) {
        m_messages->setText(m_comparison->refusal);
        return;
    }
    const QList<QStringList> rows = pelk::ComparisonTable::rows(*m_comparison, 6);
    m_table->setColumnCount(int(rows.first().size()));
    m_table->setHorizontalHeaderLabels(rows.first());
    m_table->setRowCount(int(rows.size() - 1));
    for (int r = 1; r < rows.size(); ++r)
        for (int c = 0; c < rows.at(r).size(); ++c) {
            auto *item = new QTableWidgetItem(rows.at(r).at(c));
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r - 1, c, item);
        }
    m_table->resizeColumnsToContents();
    QStringList lines = m_comparison->notes;
    if (!m_comparison->averaged.isEmpty()) {
        lines.append(QStringLiteral("Model-averaged estimates (unconditional s.e.):"));
        for (const auto &averaged : m_comparison->averaged)
            lines.append(QStringLiteral("  %1 = %2 (%3)")
                             .arg(averaged.name, pelk::ComparisonTable::number(averaged.estimate),
                                  pelk::ComparisonTable::number(averaged.unconditionalSe)));
    }
    m_messages->setText(lines.join(u'\n'));
}

void CompareModelsDialog::onExportCsv()
{
    if (!m_comparison || !m_comparison->refusal.isEmpty())
        return;
    QString fileName = m_fileDialogs.getSaveFileName(this, QStringLiteral("Export Comparison"),
                                                     FileDialogs::rememberedDirectory(QStringLiteral("/dataDirectory")),
                                                     QStringLiteral("CSV files (*.csv)"));
    if (fileName.isEmpty())
        return;
    fileName = FileDialogs::withSuffix(this, windowTitle(), fileName, QStringLiteral(".csv"));
    if (fileName.isEmpty())
        return;
    FileDialogs::rememberDirectory(fileName, QStringLiteral("/dataDirectory"));
    const QString csv = pelk::ComparisonTable::csv(*m_comparison);
    if (!pelk::writeTextFile(fileName, [&csv](QTextStream &out) { out << csv; }))
        QMessageBox::critical(this, windowTitle(), QStringLiteral("Unable to write file \"%1\"").arg(fileName));
}

void CompareModelsDialog::setRunning(bool running)
{
    m_addButton->setEnabled(!running);
    m_removeButton->setEnabled(!running && m_fileList->count() > 0);
    m_estimateButton->setEnabled(!running && m_fileList->count() > 0);
    m_cancelButton->setEnabled(running);
    m_exportButton->setEnabled(!running && m_comparison && m_comparison->refusal.isEmpty());
}
