// The formula delegate in a table, driven as the analyst drives it: keys
// that end an edit, parse errors, focus leaving the editor, Escape, and
// symbols inserted from a tool bar with and without Control.
#include "pages/equation/EquationDefinition.h"
#include "pages/equation/EquationDelegate.h"
#include "pages/equation/EquationLineEdit.h"

#include <QAbstractItemModelTester>
#include <QAbstractTableModel>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

// One row of formula cells that stores what it receives the way the PELK
// models do: only a complete definition, as its own copy of the tree.
class FormulaRowModel : public QAbstractTableModel
{
public:
    QString texts[3];
    zav::EquationPtr trees[3];
    int refused = 0;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : 1; }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : 3;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return QVariant();
        return texts[index.column()];
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        const Qt::ItemFlags base = QAbstractTableModel::flags(index);
        return index.isValid() ? base | Qt::ItemIsEditable : base;
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        const auto definition = value.value<EquationDefinition>();
        if (role != Qt::EditRole || !definition.isComplete()) {
            ++refused;
            return false;
        }
        texts[index.column()] = definition.text;
        trees[index.column()] = definition.cloneEquation();
        emit dataChanged(index, index);
        return true;
    }
};

} // namespace

class tst_EquationDelegate : public QObject
{
    Q_OBJECT

    struct Table
    {
        // The model outlives the view and its editors.
        FormulaRowModel model;
        QAbstractItemModelTester tester {&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
        QWidget window;
        QTableView *view;
        QLineEdit *elsewhere; // somewhere for the focus to go
        EquationDelegate *delegate;
        std::unique_ptr<QSignalSpy> errors;
        std::unique_ptr<QSignalSpy> oks;

        Table()
        {
            auto *layout = new QVBoxLayout(&window);
            view = new QTableView(&window);
            elsewhere = new QLineEdit(&window);
            layout->addWidget(view);
            layout->addWidget(elsewhere);
            view->setModel(&model);
            delegate = new EquationDelegate(view);
            view->setItemDelegate(delegate);
            errors = std::make_unique<QSignalSpy>(delegate, &EquationDelegate::validationError);
            oks = std::make_unique<QSignalSpy>(delegate, &EquationDelegate::validationOK);
            window.show();
            window.activateWindow();
        }

        // Opens the editor of a cell and types into it, as a double-click
        // and the keyboard would.
        EquationLineEdit *edit(int column, const QString &typed)
        {
            const QModelIndex index = model.index(0, column);
            view->setCurrentIndex(index);
            view->edit(index);
            auto *editor = qobject_cast<EquationLineEdit *>(view->indexWidget(index));
            if (editor) {
                editor->setFocus();
                editor->end(false); // the view opens the editor with its text selected
                QTest::keyClicks(editor, typed);
            }
            return editor;
        }
        bool editorOpen(int column) const { return view->indexWidget(model.index(0, column)) != nullptr; }
    };

private slots:
    void keysThatEndAnEditCommitTheParsedFormula_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("startColumn");
        QTest::addColumn<int>("nextColumn");

        QTest::newRow("Return") << int(Qt::Key_Return) << 1 << 2;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << 1 << 2;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 1 << 2;
        QTest::newRow("Backtab") << int(Qt::Key_Backtab) << 1 << 0;
    }

    void keysThatEndAnEditCommitTheParsedFormula()
    {
        QFETCH(int, key);
        QFETCH(int, startColumn);
        QFETCH(int, nextColumn);

        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        EquationLineEdit *editor = t.edit(startColumn, "p1*(1-p2)");
        QVERIFY(editor);
        QCOMPARE(t.delegate->currentEditor(), editor);
        QTest::keyClick(editor, Qt::Key(key));

        QCOMPARE(t.model.texts[startColumn], QString("p1*(1-p2)"));
        QVERIFY(t.model.trees[startColumn]);
        QCOMPARE(t.model.trees[startColumn]->toString(), QString("p1*1-p2"));
        QCOMPARE(t.oks->count(), 1);
        QCOMPARE(t.errors->count(), 0);
        QVERIFY(!t.editorOpen(startColumn));
        // The edit moves on to the next (Backtab: previous) cell.
        QCOMPARE(t.view->currentIndex().column(), nextColumn);
        QVERIFY(t.delegate->currentEditor() != editor);
    }

    void parseErrorKeepsTheEditorOpenAtTheError_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Tab") << int(Qt::Key_Tab);
        QTest::newRow("Backtab") << int(Qt::Key_Backtab);
    }

    void parseErrorKeepsTheEditorOpenAtTheError()
    {
        QFETCH(int, key);

        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        EquationLineEdit *editor = t.edit(1, "a*(b+2c)");
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key(key));

        QCOMPARE(t.errors->count(), 1);
        QCOMPARE(t.errors->at(0).at(0).toString(), QString("\"2c\" - Invalid symbol name"));
        QCOMPARE(t.oks->count(), 0);
        QVERIFY(t.editorOpen(1));
        QCOMPARE(t.delegate->currentEditor(), editor);
        QCOMPARE(editor->text(), QString("a*(b+2c)"));
        QCOMPARE(editor->cursorPosition(), 6); // just after the "2" of "2c" (column 6)
        QCOMPARE(t.model.texts[1], QString());
        QCOMPARE(t.model.refused, 0);

        // Mended, the same key now commits.
        editor->setText("a*(b+2*c)");
        QTest::keyClick(editor, Qt::Key(key));
        QCOMPARE(t.model.texts[1], QString("a*(b+2*c)"));
        QCOMPARE(t.oks->count(), 1);
        QVERIFY(!t.editorOpen(1));
    }

    void emptyTextIsNeverCommitted()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        t.model.texts[1] = "old";
        EquationLineEdit *editor = t.edit(1, "");
        QVERIFY(editor);
        editor->clear();
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(t.editorOpen(1));
        QCOMPARE(t.errors->count(), 0);
        QCOMPARE(t.oks->count(), 0);
        QCOMPARE(t.model.texts[1], QString("old"));
    }

    void focusLeavingWithAnErrorDiscardsTheEdit()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        t.model.texts[1] = "old";
        EquationLineEdit *editor = t.edit(1, "*(x");
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("old*(x"));
        t.elsewhere->setFocus();

        QCOMPARE(t.errors->count(), 1);
        QCOMPARE(t.errors->at(0).at(0).toString(), QString("\"x\" - unbalanced Parentheses"));
        QCOMPARE(t.model.texts[1], QString("old"));
        QCOMPARE(t.model.refused, 1); // the hand-over without a tree
        QVERIFY(!t.editorOpen(1));
        QCOMPARE(t.delegate->currentEditor(), nullptr);
    }

    void focusLeavingWithAValidFormulaCommitsIt()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        EquationLineEdit *editor = t.edit(0, "exp(a)");
        QVERIFY(editor);
        t.elsewhere->setFocus();
        QCOMPARE(t.model.texts[0], QString("exp(a)"));
        QCOMPARE(t.oks->count(), 1);
        QCOMPARE(t.model.refused, 0);
        QVERIFY(!t.editorOpen(0));
    }

    void escapeDiscardsTheEdit()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        t.model.texts[1] = "p";
        EquationLineEdit *editor = t.edit(1, "*q");
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(t.model.texts[1], QString("p"));
        QCOMPARE(t.model.refused, 0);
        QCOMPARE(t.errors->count(), 0);
        QCOMPARE(t.oks->count(), 0);
        QVERIFY(!t.editorOpen(1));
        QTRY_COMPARE(t.delegate->currentEditor(), nullptr);
    }

    void insertTextHonoursControl()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        EquationLineEdit *editor = t.edit(1, "a*");
        QVERIFY(editor);

        t.delegate->insertText("p");
        QTest::keyPress(editor, Qt::Key_Control);
        t.delegate->insertText("*");
        t.delegate->insertText("q");
        t.delegate->insertText("1");
        QTest::keyRelease(editor, Qt::Key_Control);
        t.delegate->insertText("+");
        t.delegate->insertText("$N 1$");
        QCOMPARE(editor->text(), QString("a*p*(1-q)1+$N 1$"));
        QCOMPARE(editor->cursorPosition(), int(editor->text().size()));
    }

    void controlKeyEventsAreConsumed()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        EquationLineEdit *editor = t.edit(1, "a");
        QVERIFY(editor);
        // Were the press to reach the line edit, it would follow it itself;
        // the delegate's filter takes it and sets the editor's state.
        QObject *filter = t.delegate;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(filter->eventFilter(editor, &press));
        QVERIFY(editor->isControlHeld());
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
        QVERIFY(filter->eventFilter(editor, &release));
        QVERIFY(!editor->isControlHeld());
        QKeyEvent otherRelease(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
        QVERIFY(!filter->eventFilter(editor, &otherRelease));
    }

    void insertTextWithoutAnEditorDoesNothing()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        t.delegate->insertText("p");
        QCOMPARE(t.delegate->currentEditor(), nullptr);

        // Nor after an edit has ended.
        EquationLineEdit *editor = t.edit(1, "a");
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_COMPARE(t.delegate->currentEditor(), nullptr);
        t.delegate->insertText("p");
        QVERIFY(!t.editorOpen(0) && !t.editorOpen(1) && !t.editorOpen(2));
        QCOMPARE(t.model.texts[1], QString());
        QCOMPARE(t.model.refused, 0);
    }

    void committedTreeOutlivesTheEditor()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        EquationLineEdit *editor = t.edit(1, "log(a)/b");
        QVERIFY(editor);
        QPointer<EquationLineEdit> watched(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(watched.isNull()); // the view deletes the editor later
        QVERIFY(t.model.trees[1]);
        QCOMPARE(t.model.trees[1]->toString(), QString("log(a)/b"));
    }

    void editorStartsFromTheCellText()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        t.model.texts[0] = "theta";
        EquationLineEdit *editor = t.edit(0, "");
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("theta"));
        QCOMPARE(editor->cursorPosition(), 5);
        QCOMPARE(editor->equation(), nullptr);
        QCOMPARE(editor->focusPolicy(), Qt::StrongFocus);
    }

    void definitionIsRegisteredByName()
    {
        EquationDelegate delegate;
        QVERIFY(QMetaType::fromName("EquationDefinition").isValid());
        QCOMPARE(QMetaType::fromName("EquationDefinition"), QMetaType::fromType<EquationDefinition>());
    }
};

QTEST_MAIN(tst_EquationDelegate)
#include "tst_equationdelegate.moc"
