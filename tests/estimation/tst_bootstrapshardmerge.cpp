// The bootstrap record's statistics against hand counts, the shards of a
// run put back together through their JSON files, and each way a set of
// files can fail to be one run refused with its message.
#include "estimation/BootstrapShardMerge.h"
#include "io/BootstrapJsonReader.h"
#include "io/BootstrapJsonWriter.h"

#include <QJsonDocument>
#include <QTest>

using pelk::BootstrapResult;
using pelk::BootstrapShardMerge;

Q_DECLARE_METATYPE(BootstrapShardMerge::Shard)

namespace {

// Shard `index` of 3 of a run of 6 replicates: D* = r, X^2* = 2r for
// replicate r, replicate 4 failed; observed D = 3, X^2 = 3.5.
BootstrapShardMerge::Shard shard(int index, const QString &fileName = {})
{
    BootstrapResult result;
    result.seed = 7;
    result.totalReplicates = 6;
    result.shardIndex = index;
    result.shardCount = 3;
    result.dataFingerprint = QStringLiteral("f00d");
    result.observedDeviance = 3.0;
    result.observedPearson = 3.5;
    for (int r = 2 * index - 1; r <= 2 * index; ++r)
        result.results.push_back({r, r == 4, double(r), 2.0 * r});
    // Through the file format, as bootstrap-merge reads shards.
    QString error;
    auto read = pelk::BootstrapJsonReader::read(
        QJsonDocument(pelk::BootstrapJsonWriter::write(result)).toJson(), error);
    if (!read || !(*read == result))
        qFatal("shard does not read back: %s", qPrintable(error));
    return {fileName.isEmpty() ? QStringLiteral("s%1.json").arg(index) : fileName, *read};
}

} // namespace

class TestBootstrapShardMerge : public QObject
{
    Q_OBJECT

private slots:
    void shardsInAnyOrderMakeTheRun();
    void refusesFilesThatAreNotOneRun_data();
    void refusesFilesThatAreNotOneRun();
};

void TestBootstrapShardMerge::shardsInAnyOrderMakeTheRun()
{
    QString error;
    const auto merged = BootstrapShardMerge::merge({shard(3), shard(1), shard(2)}, error);
    QVERIFY2(merged, qPrintable(error));
    QCOMPARE(merged->shardCount, 1);
    QCOMPARE(merged->replicates(), 6);
    QCOMPARE(merged->failed(), 1);
    for (int r = 1; r <= 6; ++r)
        QCOMPARE(merged->results[std::size_t(r - 1)].replicate, r);
    // Refitted D* = 1, 2, 3, 5, 6: three at least 3, mean 17/5. X^2* = 2, 4,
    // 6, 10, 12: four at least 3.5, mean 34/5.
    QCOMPARE(*merged->bootstrapPValue(), 4.0 / 6.0);
    QCOMPARE(*merged->bootstrapChat(), 3.0 / (17.0 / 5.0));
    QCOMPARE(*merged->bootstrapPearsonPValue(), 5.0 / 6.0);
    QCOMPARE(*merged->bootstrapPearsonChat(), 3.5 / (34.0 / 5.0));
}

void TestBootstrapShardMerge::refusesFilesThatAreNotOneRun_data()
{
    QTest::addColumn<QList<BootstrapShardMerge::Shard>>("shards");
    QTest::addColumn<QString>("message");
    auto foreign = shard(3);
    foreign.result.seed = 8;
    auto otherData = shard(2);
    otherData.result.dataFingerprint = QStringLiteral("beef");
    auto otherFit = shard(2);
    otherFit.result.observedPearson = 5.5;
    auto misplaced = shard(1, QStringLiteral("odd.json"));
    misplaced.result.shardIndex = 2;
    QTest::newRow("missing") << QList{shard(1), shard(3)} << "shard 2/3 is missing (replicates 3-4)";
    QTest::newRow("missing at the end") << QList{shard(1), shard(2)} << "shard 3/3 is missing (replicates 5-6)";
    QTest::newRow("repeated") << QList{shard(1), shard(2), shard(2, QStringLiteral("again.json")), shard(3)}
                              << "again.json repeats replicates 3-4 of s2.json";
    QTest::newRow("foreign seed") << QList{shard(1), shard(2), foreign}
                                  << "s3.json is a shard of another run than s1.json (seed 8, not 7)";
    QTest::newRow("foreign data") << QList{shard(1), otherData, shard(3)}
                                  << "s2.json is a shard of another run than s1.json (data fingerprint beef, not f00d)";
    QTest::newRow("foreign fit") << QList{shard(1), otherFit, shard(3)}
                                 << "s2.json is a shard of another run than s1.json (other observed statistics)";
    QTest::newRow("block not its own") << QList{misplaced, shard(3)}
                                       << "odd.json does not hold the replicates 3-4 of shard 2/3";
}

void TestBootstrapShardMerge::refusesFilesThatAreNotOneRun()
{
    QFETCH(QList<BootstrapShardMerge::Shard>, shards);
    QFETCH(QString, message);
    QString error;
    QVERIFY(!BootstrapShardMerge::merge(shards, error));
    QCOMPARE(error, message);
}

QTEST_GUILESS_MAIN(TestBootstrapShardMerge)
#include "tst_bootstrapshardmerge.moc"
