// Which category labels and likelihood names a workspace can carry: every
// row states the verdict and then checks it against the real writer and
// reader, so the rule and the file format cannot drift apart.
#include "IoTestSupport.h"

#include "expr/Parser.h"
#include "expr/SymbolValidator.h"
#include "io/FileTextRules.h"

#include <QtTest/QtTest>

namespace {

using Factory = zav::OptimizerFactory;

zav::EquationPtr formula(const QString &text)
{
    return zav::parse(text, pelk::SymbolValidator());
}

// Writes the workspace and reads it into a fresh one; false when the read
// fails.
bool writeAndRead(const pelk::Workspace &original, pelk::Workspace &reread)
{
    const QByteArray text = iotest::written(iotest::Kind::Workspace, original);
    return iotest::readFailure(iotest::Kind::Workspace, text, reread).isEmpty();
}

// A one-likelihood workspace whose categories are "other" and the label,
// in the given order, with the counts 4 and 3.
bool labelSurvives(const QString &label, bool labelFirst)
{
    pelk::Workspace ws;
    ws.optimizer.type = Factory::Powell;
    ws.model.insertParameter(0, QStringLiteral("p"));
    const int id = ws.model.addLikelihood(QStringLiteral("L"), false);
    const QStringList labels = labelFirst ? QStringList {label, QStringLiteral("other")}
                                          : QStringList {QStringLiteral("other"), label};
    ws.model.insertCategory(id, labels.at(0), QStringLiteral("p"), formula(QStringLiteral("p")));
    ws.model.insertCategory(id, labels.at(1), QStringLiteral("1-p"), formula(QStringLiteral("1-p")));
    ws.categoryCounts.insert(label, 3);
    ws.categoryCounts.insert(QStringLiteral("other"), 4);

    pelk::Workspace reread;
    if (!writeAndRead(ws, reread) || reread.model.likelihoodCount() != 1)
        return false;
    const int readId = reread.model.likelihoodId(0);
    return reread.model.categoryCount(readId) == 2 && reread.model.categoryLabel(readId, 0) == labels.at(0)
        && reread.model.categoryLabel(readId, 1) == labels.at(1) && reread.categoryCounts.value(label) == 3
        && reread.categoryCounts.value(QStringLiteral("other")) == 4 && reread.categoryCounts.size() == 2;
}

// A workspace with two likelihoods, the second of the given kind bearing the name.
bool nameSurvives(const QString &name, bool normal)
{
    pelk::Workspace ws;
    ws.optimizer.type = Factory::Powell;
    ws.model.insertParameter(0, QStringLiteral("p"));
    const int first = ws.model.addLikelihood(QStringLiteral("First"), false);
    ws.model.insertCategory(first, QStringLiteral("seen"), QStringLiteral("p"), formula(QStringLiteral("p")));
    ws.categoryCounts.insert(QStringLiteral("seen"), 1);
    const int id = ws.model.addLikelihood(name, normal);
    if (normal) {
        ws.model.setObserved(id, QStringLiteral("1"), formula(QStringLiteral("1")));
        ws.model.setExpected(id, QStringLiteral("p"), formula(QStringLiteral("p")));
        ws.model.setStandardError(id, QStringLiteral("2"), formula(QStringLiteral("2")));
    }
    pelk::Workspace reread;
    return writeAndRead(ws, reread) && reread.model.likelihoodCount() == 2
        && reread.model.likelihoodName(reread.model.likelihoodId(1)) == name
        && reread.model.isMultinomial(reread.model.likelihoodId(1)) == !normal;
}

// A workspace with a parameter of that name and a function using it.
bool symbolSurvives(const QString &name)
{
    pelk::Workspace ws;
    ws.optimizer.type = Factory::Powell;
    ws.model.insertParameter(0, name);
    ws.model.insertVariable(0, QStringLiteral("twice"), "2*" + name, formula("2*" + name));
    const int id = ws.model.addLikelihood(QStringLiteral("L"), false);
    ws.model.insertCategory(id, QStringLiteral("seen"), name, formula(name));
    ws.categoryCounts.insert(QStringLiteral("seen"), 1);
    pelk::Workspace reread;
    return writeAndRead(ws, reread) && reread.model.parameterCount() == 1
        && reread.model.parameterName(0) == name && reread.model.variableDefinition(0) == "2*" + name;
}

} // namespace

class TestFileTextRules : public QObject
{
    Q_OBJECT

private slots:
    void categoryLabelVerdictMatchesTheReader_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("writable");

        QTest::newRow("one word") << "seen" << true;
        QTest::newRow("two words") << "seen twice" << true;
        QTest::newRow("formula-like words") << "A + B" << true;
        QTest::newRow("parenthesised") << "(N)" << true;
        QTest::newRow("digits and signs") << "1e-06*x" << true;
        QTest::newRow("keyword") << "likelihood" << true;
        QTest::newRow("non-ASCII") << QString::fromUtf8("gesehen \u00e4\u00df") << true;
        // A kept delimiter standing between blanks is a token that the reader
        // joins back with the same blanks.
        QTest::newRow("= between blanks") << "e = f" << true;
        QTest::newRow("; between blanks") << "x ; y" << true;
        QTest::newRow("quote between blanks") << "a \" b" << true;

        QTest::newRow("empty") << "" << false;
        QTest::newRow("comma") << "a,b" << false;
        QTest::newRow("comma between blanks") << "a , b" << false;
        QTest::newRow("semicolon") << "x;y" << false;
        QTest::newRow("semicolon first") << "; x" << false;
        QTest::newRow("quote") << "q\"" << false;
        QTest::newRow("colon") << "c:d" << false;
        QTest::newRow("colon between blanks") << "c : d" << false;
        QTest::newRow("equals") << "e=f" << false;
        QTest::newRow("comment") << "#g" << false;
        QTest::newRow("comment after a word") << "g #h" << false;
        QTest::newRow("tab") << "a\tb" << false;
        QTest::newRow("doubled blank") << "a  b" << false;
        QTest::newRow("outer blank") << " a" << false;
        QTest::newRow("trailing blank") << "a " << false;
    }

    void categoryLabelVerdictMatchesTheReader()
    {
        QFETCH(QString, label);
        QFETCH(bool, writable);
        QCOMPARE(pelk::FileTextRules::isWritableCategoryLabel(label), writable);
        if (label.isEmpty())
            return; // an empty label would be the unobserved category; nothing to write
        // A writable label survives as the first category and as a later one; a
        // refused one fails at least as the first (the rule does not depend on
        // where a category stands, since categories are deleted and added).
        QCOMPARE(labelSurvives(label, true), writable);
        if (writable)
            QVERIFY(labelSurvives(label, false));
    }

    void likelihoodNameVerdictMatchesTheReader_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("writable");

        QTest::newRow("default") << "Likelihood 1" << true;
        QTest::newRow("one word") << "Mean" << true;
        QTest::newRow("comma between blanks") << "a , b" << true;
        QTest::newRow("colon between blanks") << "ratio : 2" << true;
        QTest::newRow("semicolon first") << "; x" << true;
        QTest::newRow("formula-like words") << "A + B" << true;

        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << " " << false;
        QTest::newRow("quote") << "say \"hi\"" << false;
        QTest::newRow("quote between blanks") << "a \" b" << false;
        QTest::newRow("comma") << "a,b" << false;
        QTest::newRow("colon") << "c:d" << false;
        QTest::newRow("equals") << "e=f" << false;
        QTest::newRow("comment") << "L #2" << false;
        QTest::newRow("doubled blank") << "Likelihood  1" << false;
        QTest::newRow("trailing blank") << "Likelihood 1 " << false;
    }

    void likelihoodNameVerdictMatchesTheReader()
    {
        QFETCH(QString, name);
        QFETCH(bool, writable);
        QCOMPARE(pelk::FileTextRules::isWritableLikelihoodName(name), writable);
        if (name.isEmpty())
            return; // reads back, but names nothing: never a name the analyst may give
        QCOMPARE(nameSurvives(name, false), writable);
        QCOMPARE(nameSurvives(name, true), writable);
    }

    void symbolNameVerdictMatchesTheReader_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("writable");

        QTest::newRow("letters") << "theta" << true;
        QTest::newRow("letters, digits, underscore") << "p_1" << true;
        QTest::newRow("dollars") << "$N$" << true;
        QTest::newRow("dollars round a full stop") << "$weird.name$" << true;

        QTest::newRow("dollars round an operator") << "$a+b$" << false;
        QTest::newRow("dollars round a blank") << "$a b$" << false;
        QTest::newRow("dollars round a comma") << "$a,b$" << false;
        QTest::newRow("dollars round a colon") << "$a:b$" << false;
        QTest::newRow("dollars round a comment") << "$a#$" << false;
        QTest::newRow("dollars round a quote") << "$a\"$" << false;
    }

    void symbolNameVerdictMatchesTheReader()
    {
        QFETCH(QString, name);
        QFETCH(bool, writable);
        QCOMPARE(pelk::FileTextRules::isWritableSymbolName(name), writable);
        if (writable)
            QVERIFY(symbolSurvives(name));
    }
};

QTEST_GUILESS_MAIN(TestFileTextRules)
#include "tst_filetextrules.moc"
