// Appends the parametric bootstrap of the fit to the summary report: a
// heading and a two-column table of the rows BootstrapTextWriter gives, so
// the report, the page and pelk-cli show the same lines.
#pragma once

namespace pelk {
struct BootstrapResult;
}
struct ReportFormats;
class QTextDocument;

class BootstrapReport
{
public:
    static void append(QTextDocument *document, const ReportFormats &formats, const pelk::BootstrapResult &result);
};
