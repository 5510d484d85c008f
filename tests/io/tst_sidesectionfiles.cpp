// The category counts, parameter seeds and profile-likelihood requests files.
#include "IoTestSupport.h"

#include "expr/ParseError.h"
#include "io/FileWriter.h"
#include "io/PelkFileReader.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"

#include <QtTest/QtTest>

using iotest::TempFiles;
using pelk::ModelDefinition;
using pelk::ProfileLikelihoods;

namespace {

using Counts = QMap<QString, int>;

// Parameters s and p, the function q, categories "seen twice" and "seen once".
void loadExampleModel(ModelDefinition &model)
{
    Counts counts;
    pelk::PelkFileReader().readModelDefinition(iotest::examplePath(QStringLiteral("model-definition.txt")),
                                               model, counts);
}

template<typename Read>
QString failureOf(const QByteArray &text, Read read)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("side.txt"), text);
    try {
        pelk::PelkFileReader reader;
        read(reader, path);
    } catch (const zav::ParseError &e) {
        return iotest::descriptionInFile(e, path);
    }
    return QString();
}

QString readCounts(const QByteArray &text, Counts &counts)
{
    return failureOf(text, [&](pelk::PelkFileReader &r, const QString &path) { r.readCategoryCounts(path, counts); });
}

QString readSeeds(const QByteArray &text, const ModelDefinition &model, std::vector<double> &seeds)
{
    return failureOf(text, [&](pelk::PelkFileReader &r, const QString &path) {
        r.readParameterSeeds(path, model, seeds);
    });
}

QString readRequests(const QByteArray &text, const ModelDefinition &model, ProfileLikelihoods &parameters,
                     ProfileLikelihoods &variables)
{
    return failureOf(text, [&](pelk::PelkFileReader &r, const QString &path) {
        r.readProfileLikelihoodRequests(path, model, parameters, variables);
    });
}

QByteArray written(const std::function<void(pelk::FileWriter &)> &write)
{
    TempFiles files;
    return files.writeWith(QStringLiteral("out.txt"), write);
}

} // namespace

class TestSideSectionFiles : public QObject
{
    Q_OBJECT

private slots:
    // counts
    void countsExampleRoundTrips();
    void countsAddUpAndAbsentLabelsAreZero();
    void countLineWithoutColonCountsOne();
    void countsWithCommentsAndBlankLines();
    void countsWriterOverloadSkipsLabelsOutsideTheModel();
    void countsFailures_data();
    void countsFailures();
    void countsFailureKeepsEarlierLines();
    // seeds
    void seedsExampleRoundTrips();
    void seedsNamingOneParameterChangeOnlyIt();
    void seedsResizeToTheParameterCount();
    void seedsFormats();
    void shortSeedsVectorWritesZeros();
    void seedsWithoutParameters();
    void seedsFailures_data();
    void seedsFailures();
    // requests
    void requestsExampleRoundTrips();
    void requestListedTwiceIsRemoved();
    void noRequestsIsAnEmptySection();
    void requestsOutsideTheModelAreNotWritten();
    void requestsFailures_data();
    void requestsFailures();
};

// --- counts -------------------------------------------------------------------

void TestSideSectionFiles::countsExampleRoundTrips()
{
    const QByteArray example = "\nseen once : 12\nseen twice : 7\n";
    Counts counts{{"seen once", 0}, {"seen twice", 0}};
    QCOMPARE(readCounts(example, counts), QString());
    QCOMPARE(counts, (Counts{{"seen once", 12}, {"seen twice", 7}}));
    QCOMPARE(written([&](pelk::FileWriter &w) { w.writeCategoryCounts(counts); }), example);
}

void TestSideSectionFiles::countsAddUpAndAbsentLabelsAreZero()
{
    Counts counts{{"A", 40}, {"B", 9}};
    QCOMPARE(readCounts("A : 3\nA : 2\n", counts), QString());
    QCOMPARE(counts, (Counts{{"A", 5}, {"B", 0}}));
    // Up to the ends of the int range, in both directions.
    QCOMPARE(readCounts("A : 2147483646\nA\nB : -2147483647\nB : -1\nA : +0\n", counts), QString());
    QCOMPARE(counts, (Counts{{"A", 2147483647}, {"B", -2147483648}}));
}

void TestSideSectionFiles::countLineWithoutColonCountsOne()
{
    Counts counts{{"seen once", 0}, {"seen twice", 0}};
    QCOMPARE(readCounts("seen twice\nseen twice\nseen once : 4\nseen twice\n", counts), QString());
    QCOMPARE(counts, (Counts{{"seen once", 4}, {"seen twice", 3}}));
}

void TestSideSectionFiles::countsWithCommentsAndBlankLines()
{
    Counts counts{{"a b", 0}};
    QCOMPARE(readCounts("# counts\n\na   b : 2 # two\n# more\na b:1\n\n", counts), QString());
    QCOMPARE(counts.value("a b"), 3);
}

void TestSideSectionFiles::countsWriterOverloadSkipsLabelsOutsideTheModel()
{
    ModelDefinition model;
    loadExampleModel(model);
    const Counts counts{{"deleted", 3}, {"seen once", 12}, {"seen twice", 7}};
    QCOMPARE(written([&](pelk::FileWriter &w) { w.writeCategoryCounts(counts, model); }),
             QByteArray("\nseen once : 12\nseen twice : 7\n"));
    QCOMPARE(written([&](pelk::FileWriter &w) { w.writeCategoryCounts(counts); }),
             QByteArray("\ndeleted : 3\nseen once : 12\nseen twice : 7\n"));
}

void TestSideSectionFiles::countsFailures_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("description");
    QTest::newRow("unknown label") << QByteArray("\nseen thrice : 3\n")
                                   << "\"\" - Unknown category \"seen thrice\" at line 2";
    QTest::newRow("unknown label without colon") << QByteArray("seen once : 1\n\nnever\n")
                                                 << "\"\" - Unknown category \"never\" at line 3";
    QTest::newRow("labels are case-sensitive") << QByteArray("Seen once : 1\n")
                                               << "\"\" - Unknown category \"Seen once\" at line 1";
    QTest::newRow("count not a number") << QByteArray("\nseen once : x\n") << "\"x\" - Illegal counts, line 2";
    QTest::newRow("count not an int") << QByteArray("seen once : 1.5\n") << "\"1.5\" - Illegal counts, line 1";
    QTest::newRow("count missing at the end") << QByteArray("seen once :") << "\"\" - Illegal counts";
    QTest::newRow("count is a colon") << QByteArray("seen once : : 3\n") << "\":\" - Illegal counts, line 1";
    QTest::newRow("count past the int range") << QByteArray("seen once : 2147483648\n")
                                              << "\"2147483648\" - Count out of range, line 1";
    QTest::newRow("count below the int range") << QByteArray("\nseen once : -2147483649\n")
                                               << "\"-2147483649\" - Count out of range, line 2";
    QTest::newRow("count past 64 bits") << QByteArray("seen once : 99999999999999999999999\n")
                                        << "\"99999999999999999999999\" - Count out of range, line 1";
    QTest::newRow("sum past the int range")
        << QByteArray("seen once : 2147483647\nseen twice : 5\nseen once : 2147483647\nseen once : 12\n")
        << "\"2147483647\" - Counts of category \"seen once\" add up out of range, line 3";
    QTest::newRow("sum past the int range by a line without count")
        << QByteArray("seen once : 2147483647\nseen once\n")
        << "\"seen once\" - Counts of category \"seen once\" add up out of range, line 2";
    QTest::newRow("sum below the int range") << QByteArray("seen twice : -2147483648\nseen twice : -1\n")
                                             << "\"-1\" - Counts of category \"seen twice\" add up out of range, line 2";
    QTest::newRow("no tokens at all") << QByteArray() << "\"\" - The file is empty";
    QTest::newRow("only blank and comment lines") << QByteArray("\n# nothing\n\n")
                                                  << "\"\" - The file holds only comments";
}

void TestSideSectionFiles::countsFailures()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, description);
    Counts counts{{"seen once", 0}, {"seen twice", 0}};
    QCOMPARE(readCounts(text, counts), description);
}

void TestSideSectionFiles::countsFailureKeepsEarlierLines()
{
    Counts counts{{"seen once", 5}, {"seen twice", 5}};
    QCOMPARE(readCounts("seen once : 2\nseen twice : 3\nother : 1\nseen once : 9\n", counts),
             QStringLiteral("\"\" - Unknown category \"other\" at line 3"));
    QCOMPARE(counts, (Counts{{"seen once", 2}, {"seen twice", 3}}));
}

// --- seeds ----------------------------------------------------------------------

void TestSideSectionFiles::seedsExampleRoundTrips()
{
    ModelDefinition model;
    loadExampleModel(model);
    const QByteArray example = "\nparameterSeeds\ns = 0.5,\np = 0.25;\n";
    std::vector<double> seeds;
    QCOMPARE(readSeeds(example, model, seeds), QString());
    QCOMPARE(seeds, (std::vector<double>{0.5, 0.25}));
    QCOMPARE(written([&](pelk::FileWriter &w) { w.writeParameterSeeds(model, seeds); }), example);
}

void TestSideSectionFiles::seedsNamingOneParameterChangeOnlyIt()
{
    ModelDefinition model;
    model.insertParameter(0, QStringLiteral("a"));
    model.insertParameter(1, QStringLiteral("b"));
    model.insertParameter(2, QStringLiteral("c"));
    std::vector<double> seeds{1, 2, 3};
    QCOMPARE(readSeeds("parameterSeeds\nb = -0.5;\n", model, seeds), QString());
    QCOMPARE(seeds, (std::vector<double>{1, -0.5, 3}));
    // A value's further tokens are ignored.
    QCOMPARE(readSeeds("parameterSeeds\nc = 7 8 9;\n", model, seeds), QString());
    QCOMPARE(seeds, (std::vector<double>{1, -0.5, 7}));
}

void TestSideSectionFiles::seedsResizeToTheParameterCount()
{
    ModelDefinition model;
    loadExampleModel(model);
    std::vector<double> seeds{9};
    QCOMPARE(readSeeds("parameterSeeds\np = 2;\n", model, seeds), QString());
    QCOMPARE(seeds, (std::vector<double>{9, 2}));
    std::vector<double> longSeeds{1, 2, 3, 4};
    QCOMPARE(readSeeds("parameterSeeds\ns = 5;\n", model, longSeeds), QString());
    QCOMPARE(longSeeds, (std::vector<double>{5, 2}));
}

void TestSideSectionFiles::seedsFormats()
{
    ModelDefinition model;
    model.insertParameter(0, QStringLiteral("a"));
    model.insertParameter(1, QStringLiteral("b"));
    model.insertParameter(2, QStringLiteral("c"));
    const std::vector<double> seeds{0.5, 1e-20, 1.23456789012345678e17};
    const QByteArray text = written([&](pelk::FileWriter &w) { w.writeParameterSeeds(model, seeds); });
    QCOMPARE(text, QByteArray("\nparameterSeeds\na = 0.5,\nb = 1e-20,\nc = 1.23456789012346e+17;\n"));
    std::vector<double> reread;
    QCOMPARE(readSeeds(text, model, reread), QString());
    QCOMPARE(reread.size(), std::size_t(3));
    QCOMPARE(reread[1], 1e-20);
}

void TestSideSectionFiles::shortSeedsVectorWritesZeros()
{
    ModelDefinition model;
    loadExampleModel(model);
    const std::vector<double> seeds{0.75};
    QCOMPARE(written([&](pelk::FileWriter &w) { w.writeParameterSeeds(model, seeds); }),
             QByteArray("\nparameterSeeds\ns = 0.75,\np = 0;\n"));
}

void TestSideSectionFiles::seedsWithoutParameters()
{
    ModelDefinition model;
    const QByteArray text = written([&](pelk::FileWriter &w) { w.writeParameterSeeds(model, {}); });
    QCOMPARE(text, QByteArray("\nparameterSeeds;\n"));
    std::vector<double> seeds{4, 5};
    QCOMPARE(readSeeds(text, model, seeds), QString());
    QVERIFY(seeds.empty());
}

void TestSideSectionFiles::seedsFailures_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("description");
    QTest::newRow("not a number") << QByteArray("\nparameterSeeds\ns = abc;\n")
                                  << "\"abc\" - Illegal parameter seed, line 3";
    QTest::newRow("infinity") << QByteArray("parameterSeeds\ns = inf;\n") << "\"inf\" - Illegal parameter seed, line 2";
    QTest::newRow("overflow") << QByteArray("parameterSeeds\ns = 1e999;\n")
                              << "\"1e999\" - Illegal parameter seed, line 2";
    QTest::newRow("empty value before ,") << QByteArray("parameterSeeds\ns = ,\np = 1;\n")
                                          << "\",\" - Illegal parameter seed, line 2";
    QTest::newRow("empty value before ;") << QByteArray("parameterSeeds\ns = 1,\np = ;\n")
                                          << "\";\" - Illegal parameter seed, line 3";
    QTest::newRow("unknown name") << QByteArray("parameterSeeds\nx = 1;\n")
                                  << "\"x\" - Unrecognized parameter name, line 2";
    QTest::newRow("function name") << QByteArray("parameterSeeds\nq = 1;\n")
                                   << "\"q\" - Unrecognized parameter name, line 2";
    QTest::newRow("names are case-sensitive") << QByteArray("parameterSeeds\nS = 1;\n")
                                              << "\"S\" - Unrecognized parameter name, line 2";
    QTest::newRow("wrong keyword") << QByteArray("parameterSeed\ns = 1;\n")
                                   << "\"parameterSeed\" - Unexpected characters, line 1";
    QTest::newRow("empty file") << QByteArray() << "\"\" - The file is empty";
    QTest::newRow("keyword only") << QByteArray("\nparameterSeeds\n") << "\"\" - Unexpected end of file";
    QTest::newRow("missing =") << QByteArray("parameterSeeds\ns 1;\n") << "\"1\" - Unexpected characters, line 2";
    QTest::newRow("entry is the last token") << QByteArray("parameterSeeds\ns = 1,\np")
                                             << "\"p\" - Unexpected end of file, line 3";
    QTest::newRow("missing ;") << QByteArray("parameterSeeds\ns = 1") << "\"\" - Unexpected end of file";
    QTest::newRow("next keyword taken as a name")
        << QByteArray("parameterSeeds\nprofileLikelihoodRequests;\n")
        << "\";\" - Unexpected characters, line 2";
}

void TestSideSectionFiles::seedsFailures()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, description);
    ModelDefinition model;
    loadExampleModel(model);
    std::vector<double> seeds;
    QCOMPARE(readSeeds(text, model, seeds), description);
}

// --- requests -------------------------------------------------------------------

void TestSideSectionFiles::requestsExampleRoundTrips()
{
    ModelDefinition model;
    loadExampleModel(model);
    const QByteArray example = "\nprofileLikelihoodRequests\np = 0.05,\nq = 0.10;\n\n";
    ProfileLikelihoods parameters;
    ProfileLikelihoods variables;
    QCOMPARE(readRequests(example, model, parameters, variables), QString());
    QCOMPARE(parameters.count(), 1);
    QVERIFY(parameters.isRequested(1, 1));
    QCOMPARE(variables.count(), 1);
    QVERIFY(variables.isRequested(0, 2));
    QCOMPARE(written([&](pelk::FileWriter &w) { w.writeProfileLikelihoodRequests(model, parameters, variables); }),
             example);
}

void TestSideSectionFiles::requestListedTwiceIsRemoved()
{
    ModelDefinition model;
    loadExampleModel(model);
    ProfileLikelihoods parameters;
    ProfileLikelihoods variables;
    QCOMPARE(readRequests("profileLikelihoodRequests\np = 0.05,\ns = 0.01,\np = 0.05;\n", model, parameters,
                          variables),
             QString());
    QVERIFY(!parameters.isRequested(1, 1));
    QVERIFY(parameters.isRequested(0, 0));
    QCOMPARE(parameters.count(), 1);
}

void TestSideSectionFiles::noRequestsIsAnEmptySection()
{
    ModelDefinition model;
    loadExampleModel(model);
    ProfileLikelihoods parameters;
    ProfileLikelihoods variables;
    const QByteArray text = written([&](pelk::FileWriter &w) {
        w.writeProfileLikelihoodRequests(model, parameters, variables);
    });
    QCOMPARE(text, QByteArray("\nprofileLikelihoodRequests;\n"));
    QCOMPARE(readRequests(text, model, parameters, variables), QString());
    QVERIFY(parameters.isEmpty() && variables.isEmpty());
}

void TestSideSectionFiles::requestsOutsideTheModelAreNotWritten()
{
    ModelDefinition model;
    loadExampleModel(model);
    ProfileLikelihoods parameters;
    ProfileLikelihoods variables;
    parameters.toggleRequest(5, 0);
    variables.toggleRequest(0, 0);
    variables.toggleRequest(0, 2);
    parameters.toggleRequest(0, 1);
    QCOMPARE(written([&](pelk::FileWriter &w) { w.writeProfileLikelihoodRequests(model, parameters, variables); }),
             QByteArray("\nprofileLikelihoodRequests\ns = 0.05,\nq = 0.01,\nq = 0.10;\n\n"));
    ProfileLikelihoods stale;
    stale.toggleRequest(7, 0);
    QCOMPARE(written([&](pelk::FileWriter &w) { w.writeProfileLikelihoodRequests(model, stale, ProfileLikelihoods()); }),
             QByteArray("\nprofileLikelihoodRequests;\n"));
}

void TestSideSectionFiles::requestsFailures_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("description");
    QTest::newRow("0.1 is not 0.10") << QByteArray("profileLikelihoodRequests\np = 0.1;\n")
                                     << "\"0.1\" - Unrecognized alpha level, line 2";
    QTest::newRow("unlisted level") << QByteArray("profileLikelihoodRequests\np = 0.2;\n")
                                    << "\"0.2\" - Unrecognized alpha level, line 2";
    QTest::newRow("empty value") << QByteArray("profileLikelihoodRequests\np = ;\n")
                                 << "\";\" - Unrecognized alpha level, line 2";
    QTest::newRow("empty value before ,") << QByteArray("profileLikelihoodRequests\np = ,\nq = 0.01;\n")
                                          << "\",\" - Unrecognized alpha level, line 2";
    QTest::newRow("unknown symbol") << QByteArray("profileLikelihoodRequests\nx = 0.05;\n")
                                    << "\"x\" - Unrecognized symbol, line 2";
    QTest::newRow("wrong keyword") << QByteArray("profileLikelihoodRequest;\n")
                                   << "\"profileLikelihoodRequest\" - Unexpected characters, line 1";
    QTest::newRow("keyword only") << QByteArray("profileLikelihoodRequests") << "\"\" - Unexpected end of file";
    QTest::newRow("entry is the last token") << QByteArray("profileLikelihoodRequests\np = 0.05,\nq")
                                             << "\"q\" - Unexpected end of file, line 3";
    QTest::newRow("missing ;") << QByteArray("profileLikelihoodRequests\np = 0.05\n")
                               << "\"\" - Unexpected end of file";
}

void TestSideSectionFiles::requestsFailures()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, description);
    ModelDefinition model;
    loadExampleModel(model);
    ProfileLikelihoods parameters;
    ProfileLikelihoods variables;
    QCOMPARE(readRequests(text, model, parameters, variables), description);
}

QTEST_GUILESS_MAIN(TestSideSectionFiles)
#include "tst_sidesectionfiles.moc"
