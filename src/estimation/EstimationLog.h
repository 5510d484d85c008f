// The log of one estimation as whole lines: the findings of the model
// check (which arrive in pieces, some without a line end, errors bold) and
// the status and error lines of the run. Every line is kept, in order, and
// the error lines once more, for the JSON document of the run; a subclass
// also shows each line as it comes (pelk-cli on standard error).
#pragma once

#include "model/MessageSink.h"

#include <QStringList>

namespace pelk {

class EstimationLog : public MessageSink
{
public:
    void write(const QString &text, Style style) override;
    // Ends a finding that came without its line end.
    void flush();
    virtual void line(const QString &text, bool isError);
    // How far the profile run is, 0 to 100; not kept.
    virtual void progress(int percent) { Q_UNUSED(percent) }

    const QStringList &lines() const { return m_lines; }
    const QStringList &errors() const { return m_errors; }

private:
    QString m_pending;
    bool m_pendingIsError = false;
    QStringList m_lines;
    QStringList m_errors;
};

} // namespace pelk
