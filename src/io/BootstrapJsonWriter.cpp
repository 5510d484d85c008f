#include "io/BootstrapJsonWriter.h"

#include "estimation/BootstrapResult.h"
#include "io/SummaryJsonWriter.h"

#include <QJsonArray>

namespace pelk {

QJsonObject BootstrapJsonWriter::write(const BootstrapResult &result)
{
    const auto number = [](const auto &value) { return SummaryJsonWriter::number(value); };
    QJsonArray rows;
    for (const BootstrapResult::Replicate &replicate : result.results) {
        const QJsonValue none(QJsonValue::Null);
        rows.append(QJsonObject{{QStringLiteral("replicate"), replicate.replicate},
                                {QStringLiteral("deviance"), replicate.failed ? none : number(replicate.deviance)},
                                {QStringLiteral("pearson"), replicate.failed ? none : number(replicate.pearson)},
                                {QStringLiteral("failed"), replicate.failed}});
    }
    return QJsonObject{
        {QStringLiteral("replicates"), result.replicates()},
        {QStringLiteral("failed"), result.failed()},
        {QStringLiteral("totalReplicates"), result.totalReplicates},
        {QStringLiteral("seed"), double(result.seed)},
        {QStringLiteral("shard"),
         QJsonObject{{QStringLiteral("index"), result.shardIndex}, {QStringLiteral("count"), result.shardCount}}},
        {QStringLiteral("dataFingerprint"), result.dataFingerprint},
        {QStringLiteral("observedDeviance"), number(result.observedDeviance)},
        {QStringLiteral("observedPearson"), number(result.observedPearson)},
        {QStringLiteral("bootstrapPValue"), number(result.bootstrapPValue())},
        {QStringLiteral("bootstrapChat"), number(result.bootstrapChat())},
        {QStringLiteral("bootstrapPearsonPValue"), number(result.bootstrapPearsonPValue())},
        {QStringLiteral("bootstrapPearsonChat"), number(result.bootstrapPearsonChat())},
        {QStringLiteral("results"), rows},
    };
}

} // namespace pelk
