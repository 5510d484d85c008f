#include "compare/ModelRecord.h"

#include <QJsonArray>

namespace pelk {

namespace {

std::optional<double> optionalNumber(const QJsonValue &value)
{
    return value.isDouble() ? std::optional<double>(value.toDouble()) : std::nullopt;
}

} // namespace

std::optional<ModelRecord> ModelRecord::fromJson(const QJsonObject &json, const QString &name, QString *problem)
{
    ModelRecord record;
    const QJsonValue given = json.value(QLatin1String("name"));
    record.name = given.isString() && !given.toString().isEmpty() ? given.toString() : name;
    const QJsonValue logLikelihood = json.value(QLatin1String("logLikelihood"));
    const QJsonValue aic = json.value(QLatin1String("aic"));
    if (!logLikelihood.isDouble() || !aic.isDouble()) {
        QStringList errors;
        for (const QJsonValue &line : json.value(QLatin1String("errors")).toArray())
            errors.append(line.toString());
        *problem = QStringLiteral("Model \"%1\" has no estimates").arg(record.name)
            + (errors.isEmpty() ? QString() : QStringLiteral(": ") + errors.join(u' '));
        return std::nullopt;
    }
    record.logLikelihood = logLikelihood.toDouble();
    record.aic = aic.toDouble();
    record.parameterCount = json.value(QLatin1String("parameterCount")).toInt();
    record.aicc = optionalNumber(json.value(QLatin1String("aicc")));
    record.sampleSize = optionalNumber(json.value(QLatin1String("sampleSize")));
    record.pearsonChat = optionalNumber(json.value(QLatin1String("goodnessOfFit")).toObject().value(QLatin1String("chat")));
    record.dataFingerprint = json.value(QLatin1String("dataFingerprint")).toString();
    for (const char *key : {"parameters", "functions"})
        for (const QJsonValue &value : json.value(QLatin1String(key)).toArray()) {
            const QJsonObject quantity = value.toObject();
            const auto estimate = optionalNumber(quantity.value(QLatin1String("estimate")));
            if (estimate)
                record.quantities.append({quantity.value(QLatin1String("name")).toString(), *estimate,
                                          optionalNumber(quantity.value(QLatin1String("se")))});
        }
    return record;
}

} // namespace pelk
