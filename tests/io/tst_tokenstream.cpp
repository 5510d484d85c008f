// The token stream shared by every file: lines, look-ahead, the end token.
#include "expr/ParseError.h"
#include "io/TokenStream.h"

#include <QtTest/QtTest>

using pelk::TokenStream;

class TestTokenStream : public QObject
{
    Q_OBJECT

private slots:
    void splitsAtKeptDelimitersAndDropsBlanks()
    {
        QString text = QStringLiteral("q = 1 - p;\tlabel:12,\"a b\" a*b+1 1e-06 -0.5");
        QTextStream stream(&text);
        TokenStream tokens(&stream);
        const QStringList expected{"q", "=", "1", "-", "p", ";", "label", ":", "12", ",", "\"",
                                   "a", "b", "\"", "a*b+1", "1e-06", "-0.5"};
        QStringList got;
        for (zav::Token t = tokens.next(); !t.text.isEmpty(); t = tokens.next())
            got.append(t.text);
        QCOMPARE(got, expected);
    }

    void countsLinesIncludingCommentsAndBlankLines()
    {
        QString text = QStringLiteral("# heading\n\nparameters # the list\n# only a comment\ns, p;\n");
        QTextStream stream(&text);
        TokenStream tokens(&stream);
        zav::Token t = tokens.next();
        QCOMPARE(t.text, QStringLiteral("parameters"));
        QCOMPARE(t.line, 3);
        QVERIFY(t.firstOnLine);
        QVERIFY(t.lastOnLine);
        t = tokens.next();
        QCOMPARE(t.text, QStringLiteral("s"));
        QCOMPARE(t.line, 5);
        QCOMPARE(t.column, 1);
    }

    void marksTheLastTokenEndOfInput()
    {
        QString text = QStringLiteral("a b\nc\n\n# trailing comment\n");
        QTextStream stream(&text);
        TokenStream tokens(&stream);
        QVERIFY(!tokens.next().endOfInput);
        QVERIFY(!tokens.next().endOfInput);
        const zav::Token last = tokens.next();
        QCOMPARE(last.text, QStringLiteral("c"));
        QVERIFY(last.endOfInput);
        QVERIFY(tokens.atEnd());
    }

    void endTokenHasLineMinusOne()
    {
        QString text = QStringLiteral("a\n");
        QTextStream stream(&text);
        TokenStream tokens(&stream);
        tokens.next();
        for (int i = 0; i < 3; ++i) {
            QVERIFY(tokens.peek().text.isEmpty());
            const zav::Token end = tokens.next();
            QVERIFY(end.text.isEmpty());
            QCOMPARE(end.line, -1);
            QCOMPARE(end.column, -1);
        }
    }

    void emptyInputGivesOnlyTheEndToken()
    {
        QString text;
        QTextStream stream(&text);
        TokenStream tokens(&stream);
        QVERIFY(tokens.peek().text.isEmpty());
        const zav::Token end = tokens.next();
        QVERIFY(end.text.isEmpty());
        QCOMPARE(end.line, -1);
    }

    void peekLooksPastLeadingBlankLines()
    {
        QString text = QStringLiteral("\n\n# comment\n\nseen once : 12\n");
        QTextStream stream(&text);
        TokenStream tokens(&stream);
        QCOMPARE(tokens.peek().text, QStringLiteral("seen"));
        QCOMPARE(tokens.peek().line, 5);
    }

    void expectThrowsUnexpectedCharacters()
    {
        QString text = QStringLiteral("parameters\nvariable;");
        QTextStream stream(&text);
        TokenStream tokens(&stream);
        tokens.expect(QStringLiteral("parameters"));
        try {
            tokens.expect(QStringLiteral("variables"));
            QFAIL("no error");
        } catch (const zav::ParseError &e) {
            QCOMPARE(e.description(), QStringLiteral("\"variable\" - Unexpected characters, line 2"));
        }
        tokens.expect(QStringLiteral(";"));
        try {
            tokens.expect(QStringLiteral(";"));
            QFAIL("no error");
        } catch (const zav::ParseError &e) {
            QCOMPARE(e.description(), QStringLiteral("\"\" - Unexpected characters"));
        }
    }

    void gatherExpressionStopsAtDelimiters()
    {
        QString text = QStringLiteral("1 - p, x;");
        QTextStream stream(&text);
        TokenStream tokens(&stream);
        zav::TokenList gathered = tokens.gatherExpression();
        QCOMPARE(gathered.size(), 3);
        QCOMPARE(tokens.peek().text, QStringLiteral(","));
        tokens.next();
        gathered = tokens.gatherExpression();
        QCOMPARE(gathered.size(), 1);
        QCOMPARE(tokens.next().text, QStringLiteral(";"));
        // Directly at a delimiter: nothing gathered.
        QString text2 = QStringLiteral(";");
        QTextStream stream2(&text2);
        TokenStream tokens2(&stream2);
        QVERIFY(tokens2.gatherExpression().isEmpty());
    }

    void gatherExpressionThrowsAtTheEnd()
    {
        QString text = QStringLiteral("1 - p");
        QTextStream stream(&text);
        TokenStream tokens(&stream);
        try {
            tokens.gatherExpression();
            QFAIL("no error");
        } catch (const zav::ParseError &e) {
            QCOMPARE(e.description(), QStringLiteral("\"\" - Unexpected end of file"));
        }
    }
};

QTEST_GUILESS_MAIN(TestTokenStream)
#include "tst_tokenstream.moc"
