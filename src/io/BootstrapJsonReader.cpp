#include "io/BootstrapJsonReader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace pelk {

namespace {

// The largest integer a JSON number (a double) holds exactly.
constexpr double largestExactInteger = 9007199254740991.0;

bool readInteger(const QJsonValue &value, double low, double high, double &result)
{
    if (!value.isDouble())
        return false;
    result = value.toDouble();
    return std::floor(result) == result && result >= low && result <= high;
}

bool readOptionalNumber(const QJsonValue &value, std::optional<double> &result)
{
    if (value.isNull()) {
        result.reset();
        return true;
    }
    if (!value.isDouble())
        return false;
    result = value.toDouble();
    return true;
}

} // namespace

std::optional<BootstrapResult> BootstrapJsonReader::read(const QByteArray &document, QString &error)
{
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(document, &parseError);
    if (!json.isObject()) {
        error = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                              : QStringLiteral("not a JSON object");
        return std::nullopt;
    }
    const QJsonObject object = json.object();
    const auto refuse = [&error](const char *key) {
        error = QStringLiteral("no valid \"%1\"").arg(QLatin1String(key));
        return std::nullopt;
    };
    BootstrapResult result;
    double number = 0.0;
    if (!readInteger(object.value(QLatin1String("seed")), 0.0, largestExactInteger, number))
        return refuse("seed");
    result.seed = std::uint64_t(number);
    if (!readInteger(object.value(QLatin1String("totalReplicates")), 1.0, 2147483647.0, number))
        return refuse("totalReplicates");
    result.totalReplicates = int(number);
    const QJsonObject shard = object.value(QLatin1String("shard")).toObject();
    double index = 0.0;
    double count = 0.0;
    if (!readInteger(shard.value(QLatin1String("count")), 1.0, 2147483647.0, count)
        || !readInteger(shard.value(QLatin1String("index")), 1.0, count, index))
        return refuse("shard");
    result.shardIndex = int(index);
    result.shardCount = int(count);
    const QJsonValue fingerprint = object.value(QLatin1String("dataFingerprint"));
    if (!fingerprint.isString())
        return refuse("dataFingerprint");
    result.dataFingerprint = fingerprint.toString();
    if (!readOptionalNumber(object.value(QLatin1String("observedDeviance")), result.observedDeviance))
        return refuse("observedDeviance");
    if (!readOptionalNumber(object.value(QLatin1String("observedPearson")), result.observedPearson))
        return refuse("observedPearson");
    const QJsonValue rows = object.value(QLatin1String("results"));
    if (!rows.isArray())
        return refuse("results");
    for (const QJsonValue &value : rows.toArray()) {
        const QJsonObject row = value.toObject();
        BootstrapResult::Replicate replicate;
        std::optional<double> deviance;
        std::optional<double> pearson;
        if (!readInteger(row.value(QLatin1String("replicate")), 1.0, result.totalReplicates, number)
            || !row.value(QLatin1String("failed")).isBool()
            || !readOptionalNumber(row.value(QLatin1String("deviance")), deviance)
            || !readOptionalNumber(row.value(QLatin1String("pearson")), pearson))
            return refuse("results");
        replicate.replicate = int(number);
        replicate.failed = row.value(QLatin1String("failed")).toBool();
        if (!replicate.failed) {
            if (!deviance || !pearson)
                return refuse("results");
            replicate.deviance = *deviance;
            replicate.pearson = *pearson;
        }
        result.results.push_back(replicate);
    }
    return result;
}

std::optional<BootstrapResult> BootstrapJsonReader::readFile(const QString &fileName, QString &error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        error = fileName + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    auto result = read(file.readAll(), error);
    if (!result)
        error = fileName + QStringLiteral(": not a bootstrap result (") + error + u')';
    return result;
}

} // namespace pelk
