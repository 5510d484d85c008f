// Formula editing: what the line edit's parse reports and where it puts the
// cursor, how tool bar symbols are inserted, and the delegate that ends a
// table edit with a key, on leaving the editor or with Escape.
#include "pages/equation/EquationDefinition.h"
#include "pages/equation/EquationDelegate.h"
#include "pages/equation/EquationLineEdit.h"

#include <QStandardItemModel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

namespace {

// One row of formula cells that keeps only a complete definition, and its
// own copy of the tree, as PELK's models do.
class FormulaRowModel : public QStandardItemModel
{
public:
    zav::EquationPtr tree;
    int refused = 0;

    FormulaRowModel() : QStandardItemModel(1, 3) {}
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (value.metaType() != QMetaType::fromType<EquationDefinition>())
            return QStandardItemModel::setData(index, value, role);
        const auto definition = value.value<EquationDefinition>();
        if (!definition.isComplete()) {
            ++refused;
            return false;
        }
        tree = definition.cloneEquation();
        return QStandardItemModel::setData(index, definition.text);
    }
    QString text(int column) const { return index(0, column).data().toString(); }
};

// A shown table of formula cells and somewhere else for the focus to go.
struct Table
{
    FormulaRowModel model;
    QWidget window;
    QTableView *view = new QTableView(&window);
    QLineEdit *elsewhere = new QLineEdit(&window);
    EquationDelegate *delegate = new EquationDelegate(view, QString());
    QSignalSpy errors {delegate, &EquationDelegate::validationError};
    QSignalSpy oks {delegate, &EquationDelegate::validationOK};

    Table()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(view);
        layout->addWidget(elsewhere);
        view->setModel(&model);
        view->setItemDelegate(delegate);
        window.show();
        window.activateWindow();
    }
    // Opens the cell's editor and types after the text it starts with.
    EquationLineEdit *edit(int column, const QString &typed)
    {
        view->setCurrentIndex(model.index(0, column));
        view->edit(model.index(0, column));
        auto *editor = qobject_cast<EquationLineEdit *>(view->indexWidget(model.index(0, column)));
        if (editor) {
            editor->setFocus();
            editor->end(false);
            QTest::keyClicks(editor, typed);
        }
        return editor;
    }
};

} // namespace

class tst_EquationEditing : public QObject
{
    Q_OBJECT

private slots:
    void parseReportsMessageAndCursor_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: parses
        QTest::addColumn<int>("cursor"); // just after the first character of the offending token
        QTest::newRow("sum") << "a+b" << "" << 0;
        QTest::newRow("two operands") << "a b" << "\"b\" - illegal syntax" << 3;
        QTest::newRow("blank text") << "   " << "\"\" - illegal syntax" << 0;
    }
    void parseReportsMessageAndCursor()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(int, cursor);
        EquationLineEdit edit;
        edit.setText("z");
        QVERIFY(edit.parseText()); // a tree from before, which a failure must drop
        edit.setText(text);
        QString reported;
        QCOMPARE(edit.parseText(&reported), message.isEmpty());
        QCOMPARE(reported, message);
        if (!message.isEmpty()) {
            QVERIFY(edit.cursorPosition() == cursor && !edit.definition().isComplete());
            return;
        }
        QCOMPARE(edit.definition().text, text);
        QVERIFY(edit.takeEquation() && !edit.equation());
    }

    void insertSymbol_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<bool>("control");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedCursor");
        QTest::newRow("dollar name with control") << "" << 0 << "$N 1$" << true << "(1-$N 1$)" << 9;
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
        EquationLineEdit edit;
        edit.setText(text);
        edit.setCursorPosition(cursor);
        edit.setControlHeld(control);
        edit.insertSymbol(symbol);
        QTEST(edit.text(), "expected");
        QTEST(edit.cursorPosition(), "expectedCursor");
    }

    // A key (or, with key 0, the focus leaving) ends an edit; only a formula
    // that parses is handed over.
    void editsEndOnlyWithAFormulaThatParses_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("position"); // the column edited next, or the editor's cursor
        QTest::newRow("Return") << int(Qt::Key_Return) << "p1*(1-p2)" << "" << 2;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << "p1*(1-p2)" << "" << 2;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << "p1*(1-p2)" << "" << 2;
        QTest::newRow("Backtab") << int(Qt::Key_Backtab) << "p1*(1-p2)" << "" << 0;
        QTest::newRow("leaving") << 0 << "exp(a)" << "" << -1;
        QTest::newRow("Return, error") << int(Qt::Key_Return) << "a*(b+2c)" << "\"2c\" - Invalid symbol name" << 6;
        QTest::newRow("Tab, error") << int(Qt::Key_Tab) << "a b" << "\"b\" - illegal syntax" << 3;
        QTest::newRow("Backtab, error") << int(Qt::Key_Backtab) << "a+" << "\"+\" - illegal syntax" << 2;
        QTest::newRow("leaving, error") << 0 << "(x" << "\"x\" - unbalanced Parentheses" << -1;
        QTest::newRow("Return, empty") << int(Qt::Key_Return) << "" << "" << 0;
    }
    void editsEndOnlyWithAFormulaThatParses()
    {
        QFETCH(int, key);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(int, position);
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        QPointer<EquationLineEdit> editor = t.edit(1, typed);
        QVERIFY(editor);
        QCOMPARE(t.delegate->currentEditor(), editor.data());
        if (key)
            QTest::keyClick(editor, Qt::Key(key));
        else
            t.elsewhere->setFocus();
        const bool committed = message.isEmpty() && !typed.isEmpty();
        QCOMPARE(t.model.text(1), committed ? typed : QString());
        QCOMPARE(t.oks.count(), committed ? 1 : 0);
        QCOMPARE(t.errors.count(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(t.errors.at(0).at(0).toString(), message);
        // Leaving discards the edit: the model refuses a definition without a tree.
        QCOMPARE(t.model.refused, !key && !committed ? 1 : 0);
        const bool open = t.view->indexWidget(t.model.index(0, 1));
        QCOMPARE(open, key && !committed);
        if (open)
            QCOMPARE(editor->cursorPosition(), position);
        else if (key)
            QCOMPARE(t.view->currentIndex().column(), position);
        if (committed) { // the tree the model kept outlives the editor
            QTRY_VERIFY(editor.isNull());
            QVERIFY(!t.model.tree->toString().isEmpty());
        }
    }

    void escapeDiscardsAndTheDelegateForgetsTheEditor()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        t.model.setData(t.model.index(0, 1), "p", Qt::EditRole);
        EquationLineEdit *editor = t.edit(1, "*");
        QVERIFY(editor);
        // In a table the delegate follows the Control key for the editor.
        QTest::keyPress(editor, Qt::Key_Control);
        t.delegate->insertText("q");
        QTest::keyRelease(editor, Qt::Key_Control);
        t.delegate->insertText("+");
        QCOMPARE(editor->text(), QString("p*(1-q)+"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_COMPARE(t.delegate->currentEditor(), nullptr);
        t.delegate->insertText("x"); // no editor: nothing to insert into
        QCOMPARE(t.model.text(1), QString("p"));
        QCOMPARE(t.errors.count() + t.oks.count() + t.model.refused, 0);
    }
};

QTEST_MAIN(tst_EquationEditing)
#include "tst_equationediting.moc"
