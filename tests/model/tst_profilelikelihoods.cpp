// Profile-likelihood requests: toggling, key order, results kept while
// symbols are inserted and removed.
#include "model/ProfileLikelihoods.h"

#include <QTest>

using pelk::ProfileLikelihoods;
using Key = ProfileLikelihoods::Key;

class TestProfileLikelihoods : public QObject
{
    Q_OBJECT

private:
    static QList<Key> keys(const ProfileLikelihoods &requests)
    {
        QList<Key> result;
        for (const auto &entry : requests)
            result << entry.first;
        return result;
    }

private slots:
    void alphaLevelsAreInIndexOrder()
    {
        QCOMPARE(ProfileLikelihoods::alphaLevels(), QStringList({"0.01", "0.05", "0.10"}));
    }

    void toggleTwiceRestoresTheContainer()
    {
        ProfileLikelihoods requests;
        requests.toggleRequest(2, 1);
        const ProfileLikelihoods once = requests;
        requests.toggleRequest(0, 0);
        requests.toggleRequest(0, 0);
        QVERIFY(requests == once);
        requests.toggleRequest(2, 1);
        QVERIFY(requests.isEmpty());
        QCOMPARE(requests.count(), 0);
    }

    void newRequestCarriesTheEmptyResult()
    {
        ProfileLikelihoods requests;
        requests.toggleRequest(1, 2);
        QVERIFY(requests.isRequested(1, 2));
        QVERIFY(!requests.isRequested(1, 1));
        QVERIFY(requests.result(1, 2) == pelk::ProfileResult());
        QCOMPARE(requests.foundFlags(1, 2), std::make_pair(false, false));
        QCOMPARE(requests.bounds(1, 2), std::make_pair(0.0, 0.0));
        QCOMPARE(requests.displayDigits(1, 2), 0.0);
    }

    void setResultOverwritesOnlyRequestedKeys()
    {
        ProfileLikelihoods requests;
        requests.toggleRequest(0, 1);
        requests.setResult(0, 1, true, false, 0.25, 0.0, 3);
        requests.setResult(5, 0, true, true, 1, 2, 3);  // not requested: ignored
        QVERIFY(!requests.isRequested(5, 0));
        QCOMPARE(requests.foundFlags(0, 1), std::make_pair(true, false));
        QCOMPARE(requests.bounds(0, 1).first, 0.25);
        QCOMPARE(requests.displayDigits(0, 1), 3.0);
        QCOMPARE(requests.count(), 1);
    }

    void iterationFollowsIndexThenAlphaIndex()
    {
        ProfileLikelihoods requests;
        requests.toggleRequest(1, 0);
        requests.toggleRequest(0, 2);
        requests.toggleRequest(0, 0);
        QCOMPARE(keys(requests), QList<Key>({{0, 0}, {0, 2}, {1, 0}}));
    }

    void insertAndRemoveIndexMoveKeysWithTheirResults()
    {
        ProfileLikelihoods requests;
        requests.toggleRequest(0, 1);
        requests.toggleRequest(2, 1);
        requests.setResult(2, 1, true, true, -1.5, 2.5, 4);
        requests.insertIndex(1);
        QCOMPARE(keys(requests), QList<Key>({{0, 1}, {3, 1}}));
        QCOMPARE(requests.bounds(3, 1), std::make_pair(-1.5, 2.5));
        requests.removeIndex(0);
        QCOMPARE(keys(requests), QList<Key>({{2, 1}}));
        QCOMPARE(requests.displayDigits(2, 1), 4.0);
    }

    void insertIndexMovesAdjacentKeysWithoutCollision()
    {
        ProfileLikelihoods requests;
        for (int i = 0; i < 4; ++i)
            requests.toggleRequest(i, 0);
        requests.setResult(1, 0, true, false, 11, 0, 0);
        requests.setResult(2, 0, true, false, 22, 0, 0);
        requests.insertIndex(1);
        QCOMPARE(keys(requests), QList<Key>({{0, 0}, {2, 0}, {3, 0}, {4, 0}}));
        QCOMPARE(requests.bounds(2, 0).first, 11.0);
        QCOMPARE(requests.bounds(3, 0).first, 22.0);
        requests.removeIndex(2);
        QCOMPARE(keys(requests), QList<Key>({{0, 0}, {2, 0}, {3, 0}}));
        QCOMPARE(requests.bounds(2, 0).first, 22.0);
    }
};

QTEST_GUILESS_MAIN(TestProfileLikelihoods)
#include "tst_profilelikelihoods.moc"
