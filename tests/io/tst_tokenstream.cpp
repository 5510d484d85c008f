// The token stream shared by every file: lines, look-ahead, the end token,
// expected keywords and gathered formulas.
#include "expr/ParseError.h"
#include "io/TokenStream.h"

#include <QtTest/QtTest>

class TestTokenStream : public QObject
{
    Q_OBJECT

private slots:
    // Each token as "text line:column", "<" before it when it is first on
    // its line, ">" after it when last, "$" on the last of the input; the
    // end token (" -1:-1") comes again when asked for again.
    void tokensKnowTheirPlace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("tokens");
        const QString end = " -1:-1";
        QTest::newRow("kept delimiters split, blanks go")
            << "q = 1 - p;\tlabel:12,\"a b\" a*b+1 1e-06 -0.5"
            << QStringList{"<q 1:1", "= 1:3", "1 1:5", "- 1:7", "p 1:9", "; 1:10", "label 1:12", ": 1:17",
                           "12 1:18", ", 1:20", "\" 1:21", "a 1:22", "b 1:24", "\" 1:25", "a*b+1 1:27", "1e-06 1:33",
                           "-0.5 1:39>$", end, end};
        QTest::newRow("comments and blank lines count as lines")
            << "# heading\n\nparameters # the list\n# only a comment\ns, p;\n"
            << QStringList{"<parameters 3:1>", "<s 5:1", ", 5:2", "p 5:4", "; 5:5>$", end, end};
        QTest::newRow("a trailing comment is no token")
            << "a b\nc\n\n# trailing comment\n" << QStringList{"<a 1:1", "b 1:3>", "<c 2:1>$", end, end};
        QTest::newRow("leading blank lines")
            << "\n\n# comment\n\nseen once : 12\n"
            << QStringList{"<seen 5:1", "once 5:6", ": 5:11", "12 5:13>$", end, end};
        QTest::newRow("one \\r before a line end is no part of the line")
            << "a\r\n\rb c\r\r\nd\r" << QStringList{"<a 1:1>", "<\rb 2:1", "c\r 2:4>", "<d 3:1>$", end, end};
        QTest::newRow("nothing: the end token is the last") << "" << QStringList{end + "$", end};
    }

    void tokensKnowTheirPlace()
    {
        QFETCH(QString, text);
        pelk::TokenStream tokens(text);
        QStringList shown;
        for (int ends = 0; ends < 2;) {
            const zav::Token peeked = tokens.peek();
            const zav::Token t = tokens.next();
            QCOMPARE(peeked.text + QString::number(peeked.line), t.text + QString::number(t.line));
            shown << QStringLiteral("%1%2 %3:%4%5%6")
                         .arg(t.firstOnLine ? "<" : "", t.text)
                         .arg(t.line)
                         .arg(t.column)
                         .arg(t.lastOnLine ? ">" : "", t.endOfInput ? "$" : "");
            ends += t.text.isEmpty();
        }
        QTEST(shown, "tokens");
        QVERIFY(tokens.atEnd());
    }

    // Steps taken on the stream, "expect <keyword>" or "gather"; each gives
    // the error's description or what it took.
    void expectAndGather_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("outcomes");
        QTest::newRow("expected keywords")
            << "parameters\nvariable;" << QStringList{"expect parameters", "expect variables", "expect ;", "expect ;"}
            << QStringList{"", "\"variable\" - Unexpected characters, line 2", "", "\"\" - Unexpected characters"};
        QTest::newRow("a formula ends at a delimiter")
            << "1 - p, x;" << QStringList{"gather", "expect ,", "gather", "expect ;"}
            << QStringList{"3 tokens", "", "1 tokens", ""};
        QTest::newRow("nothing before the delimiter") << ";" << QStringList{"gather"} << QStringList{"0 tokens"};
        QTest::newRow("a formula without end")
            << "1 - p" << QStringList{"gather"} << QStringList{"\"\" - Unexpected end of file"};
    }

    void expectAndGather()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, steps);
        pelk::TokenStream tokens(text);
        QStringList outcomes;
        for (const QString &step : std::as_const(steps)) {
            try {
                if (step == u"gather") {
                    outcomes << QStringLiteral("%1 tokens").arg(tokens.gatherExpression().size());
                } else {
                    tokens.expect(step.mid(7));
                    outcomes << QString();
                }
            } catch (const zav::ParseError &e) {
                outcomes << e.description();
            }
        }
        QTEST(outcomes, "outcomes");
    }
};

QTEST_GUILESS_MAIN(TestTokenStream)
#include "tst_tokenstream.moc"
