// The log of a pelk-cli run: every line kept (for the JSON document) and
// also written to standard error as it happens. During the profile run a
// percentage is shown on a terminal, and wiped before the next line.
#pragma once

#include "estimation/EstimationLog.h"

#include <QTextStream>

class StandardErrorLog : public pelk::EstimationLog
{
public:
    StandardErrorLog();

    void line(const QString &text, bool isError) override;
    void progress(int percent) override;
    // Wipes the percentage, if one is shown.
    void clearProgress();

private:
    QTextStream m_err;
    bool m_terminal;
    bool m_progressShown = false;
};
