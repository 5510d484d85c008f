#include "ReportForm.h"

#include "BootstrapReport.h"
#include "SummaryReport.h"

#include "app/PelkWindow.h"
#include "pages/frame/FileDialogs.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const char *const reportDirectoryKey = "/reportDirectory";

bool isPdfFile(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) && file.read(4) == "%PDF";
}

} // namespace

ReportForm::ReportForm(PelkWindow *mainWindow, QWidget *parent) : QWidget(parent), m_mainWindow(mainWindow)
{
    setObjectName("ReportForm");
    m_textEdit = new QTextEdit(this);
    m_textEdit->setObjectName("textEdit");
    m_textEdit->setReadOnly(true);
    // The report is only ever replaced whole; there is nothing to undo.
    m_textEdit->setUndoRedoEnabled(false);

    m_saveToFileButton = new QPushButton("Save to File", this);
    m_saveToFileButton->setObjectName("saveToFileButton");
    m_printButton = new QPushButton("Print", this);
    m_printButton->setObjectName("printButton");

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_saveToFileButton);
    buttons->addWidget(m_printButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_textEdit);
    layout->addLayout(buttons);

    connect(m_saveToFileButton, &QPushButton::clicked, this, &ReportForm::onSaveToFile);
    connect(m_printButton, &QPushButton::clicked, this, &ReportForm::onPrint);
}

QTextDocument *ReportForm::document() const
{
    return m_textEdit->document();
}

void ReportForm::showSummary(const pelk::EstimationSummary &summary, const QDateTime &when)
{
    m_textEdit->clear();
    SummaryReport(document(), m_formats).write(summary, when);
    m_textEdit->moveCursor(QTextCursor::Start);
    m_textEdit->ensureCursorVisible();
}

void ReportForm::appendBootstrap(const pelk::BootstrapResult &result)
{
    BootstrapReport::append(document(), m_formats, result);
}

void ReportForm::clear()
{
    m_textEdit->clear();
}

void ReportForm::onSaveToFile()
{
    QString fileName = m_mainWindow->fileDialogs().getSaveFileName(
        this, "Output File Name", FileDialogs::rememberedDirectory(reportDirectoryKey), "PDF (*.pdf)");
    if (fileName.isEmpty())
        return;

    // A bare file name has no directory worth remembering.
    if (!FileDialogs::directoryOf(fileName).isEmpty())
        FileDialogs::rememberDirectory(fileName, reportDirectoryKey);
    fileName = FileDialogs::withSuffix(this, m_mainWindow->windowTitleBase(), fileName, ".pdf");
    if (fileName.isEmpty())
        return;

    if (!writePdf(fileName))
        QMessageBox::critical(this, m_mainWindow->windowTitleBase(),
                              QString("Unable to write \"%1\"").arg(fileName));
}

bool ReportForm::writePdf(const QString &fileName) const
{
    // The report is printed into a file of its own beside the target, which
    // replaces the target only once it holds a whole PDF: a failed write
    // neither damages an earlier report of that name nor passes it off as
    // the new one. The temporary file only reserves a unique name; the
    // printer creates the file afresh, with the usual permissions.
    const QFileInfo target(fileName);
    QTemporaryFile reserved(target.absolutePath() + "/.pelk-report-XXXXXX.pdf");
    if (!reserved.open())
        return false;
    reserved.setAutoRemove(false);
    const QString partialName = reserved.fileName();
    reserved.close();
    QFile::remove(partialName);

    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(partialName);
    // Printing ends its painter, which closes the file.
    document()->print(&printer);

    if (printer.printerState() == QPrinter::Error || !isPdfFile(partialName)
        || (target.exists() && !QFile::remove(fileName)) || !QFile::rename(partialName, fileName)) {
        QFile::remove(partialName);
        return false;
    }
    return true;
}

void ReportForm::onPrint()
{
    QPrinter printer(QPrinter::ScreenResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        document()->print(&printer);
}
