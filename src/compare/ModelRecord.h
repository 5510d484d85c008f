// One estimated model as a comparison sees it: what the JSON document of
// `pelk-cli estimate --json` says about its fit and its estimates. A model
// estimated in this process is turned into the same document first, so a
// model estimated here and one estimated on another machine are read by
// the same code.
#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace pelk {

struct ModelRecord
{
    // A parameter or a convenience function (their names are unique
    // together within a model).
    struct Quantity
    {
        QString name;
        double estimate = 0.0;
        std::optional<double> standardError;
    };

    QString name;
    QString fileName; // the workspace or the JSON document it came from
    int parameterCount = 0; // k
    double logLikelihood = 0.0;
    double aic = 0.0;
    std::optional<double> aicc;
    std::optional<double> sampleSize; // n
    std::optional<double> pearsonChat;
    QString dataFingerprint;
    QList<Quantity> quantities; // the parameters, then the functions

    // The record of a document, named `name` when the document names no
    // model. Null, with the reason in *problem, when the document holds no
    // estimates (a refused, failed or cancelled run): its "errors" say why.
    static std::optional<ModelRecord> fromJson(const QJsonObject &json, const QString &name, QString *problem);
};

} // namespace pelk
