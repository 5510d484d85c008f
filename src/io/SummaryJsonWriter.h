// The estimation summary as one JSON document, for scripts: every number at
// full double precision, null for a value that does not exist or is not
// finite.
#pragma once

#include <QJsonObject>
#include <QStringList>

#include <optional>

namespace pelk {

struct EstimationSummary;

class SummaryJsonWriter
{
public:
    struct Run
    {
        QString name; // the workspace file's base name; empty: unknown (null)
        bool valid = false;
        QString optimizer; // "powell", "fletch" or "simplex"
        QStringList log; // every line of the run, in order
        QStringList errors; // the error lines
        bool profileCurves = false; // write the profiles' points as "profileCurves"
    };

    // `summary` is absent when the run produced no estimates (a file that
    // does not read, an invalid model, a failed or cancelled parameter run):
    // the result keys are then null or empty.
    static QJsonObject write(const Run &run, const EstimationSummary *summary);

    static QJsonValue number(double value);
    static QJsonValue number(const std::optional<double> &value);
};

} // namespace pelk
