// The body of the "Estimation Summary" page: the report in a read-only
// rich-text area, and buttons that save it as a PDF file or print it.
#pragma once

#include "ReportFormats.h"

#include <QWidget>

namespace pelk {
struct BootstrapResult;
struct EstimationSummary;
} // namespace pelk
class PelkWindow;
class QDateTime;
class QPushButton;
class QTextDocument;
class QTextEdit;

class ReportForm : public QWidget
{
    Q_OBJECT

public:
    // The window supplies the file dialogs and the title of message boxes.
    explicit ReportForm(PelkWindow *mainWindow, QWidget *parent = nullptr);

    // Rebuilds the whole report, dated `when`, and shows its beginning.
    void showSummary(const pelk::EstimationSummary &summary, const QDateTime &when);
    // Appends the bootstrap of the fit after the summary shown.
    void appendBootstrap(const pelk::BootstrapResult &result);
    void clear();

    QTextEdit *textEdit() const { return m_textEdit; }
    QTextDocument *document() const;

public slots:
    void onSaveToFile();
    void onPrint();

private:
    // False when no complete PDF could be written under fileName.
    bool writePdf(const QString &fileName) const;

    PelkWindow *m_mainWindow;
    const ReportFormats m_formats;
    QTextEdit *m_textEdit;
    QPushButton *m_saveToFileButton;
    QPushButton *m_printButton;
};
