#include "TableContentPage.h"

#include "PelkTableView.h"
#include "TableContentForm.h"
#include "TableExport.h"

#include "app/PelkWindow.h"
#include "io/SafeTextFile.h"
#include "pages/frame/FileDialogs.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTextStream>
#include <QVBoxLayout>

namespace {

const QString dataDirectoryKey = QStringLiteral("/dataDirectory");
const QString textFilter = QStringLiteral("Text (*.txt)");
const QString commaDelimitedFilter = QStringLiteral("Comma delimited (*.csv)");
const QString saveBoxTitle = QStringLiteral("Save to File");

QString suffixOf(const QString &selectedFilter)
{
    if (selectedFilter == textFilter)
        return QStringLiteral(".txt");
    if (selectedFilter == commaDelimitedFilter)
        return QStringLiteral(".csv");
    return QString();
}

} // namespace

TableContentPage::TableContentPage(PelkWindow *mainWindow, const QString &title)
    : PelkContentPage(mainWindow, title)
{
    m_form = new TableContentForm(contentFrame());
    contentLayout()->addWidget(m_form);
    m_form->saveToFileButton()->setEnabled(false);
    m_form->copyToClipboardButton()->setEnabled(false);

    connect(m_form, &TableContentForm::saveToFileClicked, this, &TableContentPage::onSaveToFile);
    connect(m_form, &TableContentForm::copyToClipboardClicked, this, &TableContentPage::onCopyToClipboard);
    connect(mainWindow, &PelkWindow::clearEstimates, this, &TableContentPage::onClearEstimates);
}

void TableContentPage::setModel(QAbstractItemModel *model)
{
    QAbstractItemModel *previous = m_model;
    m_model = model;
    if (model)
        model->setParent(this);
    m_form->tableView()->setModel(model);
    delete previous;
    m_form->tableView()->resizeColumnsToContents();
    m_form->saveToFileButton()->setEnabled(model != nullptr);
    m_form->copyToClipboardButton()->setEnabled(model != nullptr);
    setAvailable(true);
}

void TableContentPage::onClearEstimates()
{
    m_form->tableView()->setModel(nullptr);
    delete m_model;
    m_model = nullptr;
    setAvailable(false);
    m_form->saveToFileButton()->setEnabled(false);
    m_form->copyToClipboardButton()->setEnabled(false);
}

void TableContentPage::onCopyToClipboard()
{
    if (!m_model)
        return;
    QApplication::clipboard()->setText(TableExport::tabSeparated(*m_model));
    statusBar()->showMessage(QStringLiteral("Table copied to clipboard"), 4000);
}

void TableContentPage::onSaveToFile()
{
    if (!m_model)
        return;
    QString selectedFilter;
    QString fileName = mainWindow()->fileDialogs().getSaveFileName(
        this, QStringLiteral("Select Output File"), FileDialogs::rememberedDirectory(dataDirectoryKey),
        textFilter + QStringLiteral(";;") + commaDelimitedFilter, &selectedFilter);
    if (fileName.isEmpty())
        return;
    FileDialogs::rememberDirectory(fileName, dataDirectoryKey);
    fileName = FileDialogs::withSuffix(this, saveBoxTitle, fileName, suffixOf(selectedFilter));
    if (fileName.isEmpty())
        return;

    const QString table = TableExport::commaSeparated(*m_model);
    if (!pelk::writeTextFile(fileName, [&table](QTextStream &out) { out << table; }))
        showWriteError(fileName);
}

void TableContentPage::showWriteError(const QString &fileName)
{
    QMessageBox::critical(this, saveBoxTitle,
                          QStringLiteral("Unable to open file \"%1\" for writing.").arg(fileName));
}
