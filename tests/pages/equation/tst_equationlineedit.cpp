// The formula line edit on its own: what a parse reports and where it puts
// the cursor, and how tool bar symbols are inserted.
#include "pages/equation/EquationLineEdit.h"

#include <QTest>

class tst_EquationLineEdit : public QObject
{
    Q_OBJECT

private slots:
    void parseReportsTheParserMessageAndCursor_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("parses");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("cursor");

        // Cursor: the 1-based column of the offending token, i.e. just after
        // its first character.
        QTest::newRow("sum") << "a+b" << true << "" << -1;
        QTest::newRow("function and blanks") << "exp( a ) * (1 - p)" << true << "" << -1;
        QTest::newRow("dollar name") << "$N 2$*p" << false << "\"$N\" - Invalid symbol name" << 1;
        QTest::newRow("two operands") << "a b" << false << "\"b\" - illegal syntax" << 3;
        QTest::newRow("leading digit") << "x+2a" << false << "\"2a\" - Invalid symbol name" << 3;
        QTest::newRow("open parenthesis") << "(a" << false << "\"a\" - unbalanced Parentheses" << 2;
        QTest::newRow("close without open") << "a)" << false << "\")\" - illegal syntax" << 2;
        QTest::newRow("signed exponent") << "1e-5" << false << "\"1e\" - Invalid symbol name" << 1;
        QTest::newRow("double asterisk") << "a**2" << false << "\"*\" - Invalid symbol name" << 3;
        QTest::newRow("blank text") << "   " << false << "\"\" - illegal syntax" << 0;
    }

    void parseReportsTheParserMessageAndCursor()
    {
        QFETCH(QString, text);
        QFETCH(bool, parses);
        QFETCH(QString, message);
        QFETCH(int, cursor);

        EquationLineEdit edit;
        edit.setText(text);
        QString reported = "untouched";
        QCOMPARE(edit.parseText(&reported), parses);
        if (parses) {
            QVERIFY(edit.equation());
            QCOMPARE(reported, QString("untouched"));
            QCOMPARE(edit.definition().text, text);
            QCOMPARE(edit.definition().equation, edit.equation());
            return;
        }
        QCOMPARE(edit.equation(), nullptr);
        QCOMPARE(reported, message);
        QCOMPARE(edit.cursorPosition(), cursor);
    }

    void failedParseDropsTheEarlierTree()
    {
        EquationLineEdit edit;
        edit.setText("a");
        QVERIFY(edit.parseText());
        edit.setText("a+");
        QVERIFY(!edit.parseText());
        QCOMPARE(edit.equation(), nullptr);
        QVERIFY(!edit.definition().isComplete());
    }

    void takeEquationHandsTheTreeOver()
    {
        EquationLineEdit edit;
        edit.setText("p*q");
        QVERIFY(edit.parseText());
        zav::EquationPtr tree = edit.takeEquation();
        QVERIFY(tree);
        QCOMPARE(tree->toString(), QString("p*q"));
        QCOMPARE(edit.equation(), nullptr);
    }

    void insertSymbol_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<bool>("control");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedCursor");

        QTest::newRow("name at end") << "a*" << 2 << "p" << false << "a*p" << 3;
        QTest::newRow("name with control") << "a*" << 2 << "p" << true << "a*(1-p)" << 7;
        QTest::newRow("dollar name with control") << "" << 0 << "$N 1$" << true << "(1-$N 1$)" << 9;
        QTest::newRow("math symbol with control") << "a" << 1 << "+" << true << "a+" << 2;
        QTest::newRow("one with control") << "a*" << 2 << "1" << true << "a*1" << 3;
        QTest::newRow("in the middle") << "a+c" << 2 << "b*" << false << "a+b*c" << 4;
        QTest::newRow("at the start") << "*b" << 0 << "phi" << true << "(1-phi)*b" << 7;
    }

    void insertSymbol()
    {
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(QString, symbol);
        QFETCH(bool, control);
        QFETCH(QString, expected);
        QFETCH(int, expectedCursor);

        EquationLineEdit edit;
        edit.setText(text);
        edit.setCursorPosition(cursor);
        edit.setControlHeld(control);
        edit.insertSymbol(symbol);
        QCOMPARE(edit.text(), expected);
        QCOMPARE(edit.cursorPosition(), expectedCursor);
    }

    void controlKeyIsFollowedFromKeyEvents()
    {
        EquationLineEdit edit;
        QTest::keyPress(&edit, Qt::Key_Control);
        QVERIFY(edit.isControlHeld());
        edit.insertSymbol("p");
        QTest::keyRelease(&edit, Qt::Key_Control);
        QVERIFY(!edit.isControlHeld());
        edit.insertSymbol("q");
        QCOMPARE(edit.text(), QString("(1-p)q"));
    }
};

QTEST_MAIN(tst_EquationLineEdit)
#include "tst_equationlineedit.moc"
