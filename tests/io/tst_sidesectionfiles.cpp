// The category counts, parameter seeds and profile-likelihood requests
// files, read into the bundled model definition's workspace and written
// back from it.
#include "IoTestSupport.h"

#include <QtTest/QtTest>

using iotest::Kind;

Q_DECLARE_METATYPE(iotest::Kind)

class TestSideSectionFiles : public QObject
{
    Q_OBJECT

private slots:
    // The text read into the model definition's workspace with the counts
    // 40 and 9, the seeds 1, 2 and 3 and no requests: the error, and the
    // file written from what was read (empty: not checked).
    void readAndWrittenBack_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("written");
        // Rows of one kind of file; without "written" nothing is checked.
        const auto rowsOf = [](Kind kind) {
            return [kind](const char *name, const QByteArray &text, const QString &failure,
                          const QByteArray &written = QByteArray()) {
                QTest::newRow(name) << kind << text << failure << written;
            };
        };
        const auto counts = rowsOf(Kind::Counts);
        const auto seeds = rowsOf(Kind::Seeds);
        const auto requests = rowsOf(Kind::Requests);
        counts("counts as written", "\nseen once : 12\nseen twice : 7\n", "", "\nseen once : 12\nseen twice : 7\n");
        counts("counts add up, absent labels are 0", "seen once : 3\nseen once : 2\n", "",
               "\nseen once : 5\nseen twice : 0\n");
        counts("counts up to the ends of the int range",
               "seen once : 2147483646\nseen once\nseen twice : -2147483647\nseen twice : -1\nseen once : +0\n", "",
               "\nseen once : 2147483647\nseen twice : -2147483648\n");
        counts("a line without colon counts one", "seen twice\nseen twice\nseen once : 4\nseen twice\n", "",
               "\nseen once : 4\nseen twice : 3\n");
        counts("counts with comments and blank lines", "# counts\n\nseen   once : 2 # two\n# more\nseen once:1\n\n",
               "", "\nseen once : 3\nseen twice : 0\n");
        counts("a failure keeps the earlier lines", "seen once : 2\nseen twice : 3\nother : 1\nseen once : 9\n",
               "\"\" - Unknown category \"other\" at line 3", "\nseen once : 2\nseen twice : 3\n");
        counts("unknown label", "\nseen thrice : 3\n", "\"\" - Unknown category \"seen thrice\" at line 2");
        counts("unknown label without colon", "seen once : 1\n\nnever\n",
               "\"\" - Unknown category \"never\" at line 3");
        counts("labels are case-sensitive", "Seen once : 1\n", "\"\" - Unknown category \"Seen once\" at line 1");
        counts("count not a number", "\nseen once : x\n", "\"x\" - Illegal counts, line 2");
        counts("count not an int", "seen once : 1.5\n", "\"1.5\" - Illegal counts, line 1");
        counts("count missing at the end", "seen once :", "\"\" - Illegal counts");
        counts("count is a colon", "seen once : : 3\n", "\":\" - Illegal counts, line 1");
        counts("count past the int range", "seen once : 2147483648\n",
               "\"2147483648\" - Count out of range, line 1");
        counts("count below the int range", "\nseen once : -2147483649\n",
               "\"-2147483649\" - Count out of range, line 2");
        counts("count past 64 bits", "seen once : 99999999999999999999999\n",
               "\"99999999999999999999999\" - Count out of range, line 1");
        counts("sum past the int range",
               "seen once : 2147483647\nseen twice : 5\nseen once : 2147483647\nseen once : 12\n",
               "\"2147483647\" - Counts of category \"seen once\" add up out of range, line 3");
        counts("sum past the int range by a line without count", "seen once : 2147483647\nseen once\n",
               "\"seen once\" - Counts of category \"seen once\" add up out of range, line 2");
        counts("sum below the int range", "seen twice : -2147483648\nseen twice : -1\n",
               "\"-1\" - Counts of category \"seen twice\" add up out of range, line 2");
        counts("no tokens at all", "", "\"\" - The file is empty");
        counts("only blank and comment lines", "\n# nothing\n\n", "\"\" - The file holds only comments");

        // The seeds follow the parameters: the third goes.
        seeds("seeds as written", "\nparameterSeeds\ns = 0.5,\np = 0.25;\n", "",
              "\nparameterSeeds\ns = 0.5,\np = 0.25;\n");
        seeds("seeds naming one parameter change only it", "parameterSeeds\np = -0.5;\n", "",
              "\nparameterSeeds\ns = 1,\np = -0.5;\n");
        seeds("a value's further tokens are ignored", "parameterSeeds\np = 7 8 9;\n", "",
              "\nparameterSeeds\ns = 1,\np = 7;\n");
        seeds("seeds of any size, written to 15 digits", "parameterSeeds\ns = 1e-20,\np = 1.23456789012345678e17;\n",
              "", "\nparameterSeeds\ns = 1e-20,\np = 1.23456789012346e+17;\n");
        seeds("an empty section", "\nparameterSeeds;\n", "", "\nparameterSeeds\ns = 1,\np = 2;\n");
        seeds("not a number", "\nparameterSeeds\ns = abc;\n", "\"abc\" - Illegal parameter seed, line 3");
        seeds("infinity", "parameterSeeds\ns = inf;\n", "\"inf\" - Illegal parameter seed, line 2");
        seeds("overflow", "parameterSeeds\ns = 1e999;\n", "\"1e999\" - Illegal parameter seed, line 2");
        seeds("empty value before ,", "parameterSeeds\ns = ,\np = 1;\n", "\",\" - Illegal parameter seed, line 2");
        seeds("empty value before ;", "parameterSeeds\ns = 1,\np = ;\n", "\";\" - Illegal parameter seed, line 3");
        seeds("unknown name", "parameterSeeds\nx = 1;\n", "\"x\" - Unrecognized parameter name, line 2");
        seeds("function name", "parameterSeeds\nq = 1;\n", "\"q\" - Unrecognized parameter name, line 2");
        seeds("names are case-sensitive", "parameterSeeds\nS = 1;\n", "\"S\" - Unrecognized parameter name, line 2");
        seeds("wrong keyword", "parameterSeed\ns = 1;\n", "\"parameterSeed\" - Unexpected characters, line 1");
        seeds("empty file", "", "\"\" - The file is empty");
        seeds("keyword only", "\nparameterSeeds\n", "\"\" - Unexpected end of file");
        seeds("missing =", "parameterSeeds\ns 1;\n", "\"1\" - Unexpected characters, line 2");
        seeds("entry is the last token", "parameterSeeds\ns = 1,\np", "\"p\" - Unexpected end of file, line 3");
        seeds("missing ;", "parameterSeeds\ns = 1", "\"\" - Unexpected end of file");
        seeds("next keyword taken as a name", "parameterSeeds\nprofileLikelihoodRequests;\n",
              "\";\" - Unexpected characters, line 2");

        requests("requests as written", "\nprofileLikelihoodRequests\np = 0.05,\nq = 0.10;\n\n", "",
                 "\nprofileLikelihoodRequests\np = 0.05,\nq = 0.10;\n\n");
        requests("a request listed twice is removed", "profileLikelihoodRequests\np = 0.05,\ns = 0.01,\np = 0.05;\n",
                 "", "\nprofileLikelihoodRequests\ns = 0.01;\n\n");
        requests("no requests", "\nprofileLikelihoodRequests;\n", "", "\nprofileLikelihoodRequests;\n");
        requests("0.1 is not 0.10", "profileLikelihoodRequests\np = 0.1;\n", "\"0.1\" - Unrecognized alpha level, line 2");
        requests("unlisted level", "profileLikelihoodRequests\np = 0.2;\n", "\"0.2\" - Unrecognized alpha level, line 2");
        requests("empty value", "profileLikelihoodRequests\np = ;\n", "\";\" - Unrecognized alpha level, line 2");
        requests("empty value before ,", "profileLikelihoodRequests\np = ,\nq = 0.01;\n",
                 "\",\" - Unrecognized alpha level, line 2");
        requests("unknown symbol", "profileLikelihoodRequests\nx = 0.05;\n", "\"x\" - Unrecognized symbol, line 2");
        requests("wrong keyword", "profileLikelihoodRequest;\n",
                 "\"profileLikelihoodRequest\" - Unexpected characters, line 1");
        requests("keyword only", "profileLikelihoodRequests", "\"\" - Unexpected end of file");
        requests("entry is the last token", "profileLikelihoodRequests\np = 0.05,\nq",
                 "\"q\" - Unexpected end of file, line 3");
        requests("missing ;", "profileLikelihoodRequests\np = 0.05\n", "\"\" - Unexpected end of file");
    }

    void readAndWrittenBack()
    {
        QFETCH(Kind, kind);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        pelk::Workspace ws;
        iotest::read(Kind::Model, iotest::modelDefinitionFile, ws);
        ws.categoryCounts = {{"seen once", 40}, {"seen twice", 9}};
        ws.seeds = {1, 2, 3};
        QTEST(iotest::readFailure(kind, text, ws), "failure");
        if (!written.isEmpty())
            QCOMPARE(iotest::written(kind, ws), written);
    }

    // Counts kept for a category read again, seeds missing at the end and
    // requests of symbols the model no longer has.
    void writersSkipOrFillWhatTheModelDoesNotMatch()
    {
        pelk::Workspace ws;
        iotest::read(Kind::Model, iotest::modelDefinitionFile, ws);
        ws.categoryCounts = {{"deleted", 3}, {"seen once", 12}, {"seen twice", 7}};
        QCOMPARE(iotest::written(Kind::Counts, ws), QByteArray("\ndeleted : 3\nseen once : 12\nseen twice : 7\n"));
        ws.seeds = {0.75};
        QCOMPARE(iotest::written(Kind::Seeds, ws), QByteArray("\nparameterSeeds\ns = 0.75,\np = 0;\n"));
        ws.parameterRequests.toggleRequest(5, 0);
        QCOMPARE(iotest::written(Kind::Requests, ws), QByteArray("\nprofileLikelihoodRequests;\n"));
        ws.variableRequests.toggleRequest(0, 0);
        ws.variableRequests.toggleRequest(0, 2);
        ws.parameterRequests.toggleRequest(0, 1);
        QCOMPARE(iotest::written(Kind::Requests, ws),
                 QByteArray("\nprofileLikelihoodRequests\ns = 0.05,\nq = 0.01,\nq = 0.10;\n\n"));
    }
};

QTEST_GUILESS_MAIN(TestSideSectionFiles)
#include "tst_sidesectionfiles.moc"
