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
    static pelk::ProfileResult found(double lower, double upper)
    {
        using pelk::ProfileLimitStatus;
        return {{ProfileLimitStatus::Found, lower}, {ProfileLimitStatus::Found, upper}, 3.0, {}};
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
        QVERIFY(requests.result(1, 2).lower.status == pelk::ProfileLimitStatus::NotFound);
    }

    void setResultOverwritesOnlyRequestedKeys()
    {
        ProfileLikelihoods requests;
        requests.toggleRequest(0, 1);
        requests.setResult(0, 1, found(0.25, 0.5));
        requests.setResult(5, 0, found(1, 2));  // not requested: ignored
        QVERIFY(!requests.isRequested(5, 0));
        QVERIFY(requests.result(0, 1) == found(0.25, 0.5));
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
        requests.setResult(2, 1, found(-1.5, 2.5));
        requests.insertIndex(1);
        QCOMPARE(keys(requests), QList<Key>({{0, 1}, {3, 1}}));
        QVERIFY(requests.result(3, 1) == found(-1.5, 2.5));
        requests.removeIndex(0);
        QCOMPARE(keys(requests), QList<Key>({{2, 1}}));
        QVERIFY(requests.result(2, 1) == found(-1.5, 2.5));
    }

    void insertIndexMovesAdjacentKeysWithoutCollision()
    {
        ProfileLikelihoods requests;
        for (int i = 0; i < 4; ++i)
            requests.toggleRequest(i, 0);
        requests.setResult(1, 0, found(11, 12));
        requests.setResult(2, 0, found(22, 23));
        requests.insertIndex(1);
        QCOMPARE(keys(requests), QList<Key>({{0, 0}, {2, 0}, {3, 0}, {4, 0}}));
        QVERIFY(requests.result(2, 0) == found(11, 12));
        QVERIFY(requests.result(3, 0) == found(22, 23));
        requests.removeIndex(2);
        QCOMPARE(keys(requests), QList<Key>({{0, 0}, {2, 0}, {3, 0}}));
        QVERIFY(requests.result(2, 0) == found(22, 23));
    }
};

QTEST_GUILESS_MAIN(TestProfileLikelihoods)
#include "tst_profilelikelihoods.moc"
