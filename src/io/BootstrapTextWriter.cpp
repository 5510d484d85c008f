#include "io/BootstrapTextWriter.h"

#include "estimation/BootstrapResult.h"
#include "io/SummaryTextWriter.h"

#include <optional>

namespace pelk {

QList<QPair<QString, QString>> BootstrapTextWriter::rows(const BootstrapResult &result)
{
    QList<QPair<QString, QString>> rows;
    QString replicates = QString::number(result.replicates());
    if (result.failed() > 0)
        replicates += QStringLiteral(" (%1 failed to refit, left out)").arg(result.failed());
    rows.append({QStringLiteral("Bootstrap replicates"), replicates});
    rows.append({QStringLiteral("Seed"), QString::number(result.seed)});
    if (result.shardCount > 1)
        rows.append({QStringLiteral("Shard"),
                     QStringLiteral("%1/%2, replicates %3-%4 of %5")
                         .arg(result.shardIndex)
                         .arg(result.shardCount)
                         .arg(BootstrapResult::firstReplicate(result.shardIndex, result.shardCount,
                                                              result.totalReplicates))
                         .arg(BootstrapResult::lastReplicate(result.shardIndex, result.shardCount,
                                                             result.totalReplicates))
                         .arg(result.totalReplicates)});
    rows.append({QStringLiteral("Observed deviance"), SummaryTextWriter::number(result.observedDeviance)});
    rows.append({QStringLiteral("Bootstrap p-value (deviance)"),
                 SummaryTextWriter::number(result.bootstrapPValue())});
    rows.append(
        {QStringLiteral("Bootstrap c-hat (deviance)"), SummaryTextWriter::number(result.bootstrapChat())});
    rows.append({QStringLiteral("Observed Pearson X^2"), SummaryTextWriter::number(result.observedPearson)});
    rows.append({QStringLiteral("Bootstrap p-value (Pearson)"),
                 SummaryTextWriter::number(result.bootstrapPearsonPValue())});
    rows.append({QStringLiteral("Bootstrap c-hat (Pearson)"),
                 SummaryTextWriter::number(result.bootstrapPearsonChat())});
    return rows;
}

QString BootstrapTextWriter::write(const BootstrapResult &result)
{
    QString text;
    for (const auto &[label, value] : rows(result))
        text += label + QStringLiteral(": ") + value + u'\n';
    return text;
}

} // namespace pelk
