// A likelihood's category table as an item model (what each cell allows,
// the label and count rules, the unobserved category, deletion, the lock),
// then both kinds of likelihood page in a window: messages, context menu,
// the lock, the New and Rename dialogs and the normal likelihood's fields.
#include "support/CellTyping.h"
#include "support/WindowFixture.h"

#include "expr/Parser.h"
#include "expr/SymbolValidator.h"
#include "model/ModelDefinition.h"
#include "pages/equation/EquationDefinition.h"
#include "pages/equation/EquationLineEdit.h"
#include "pages/likelihood/LikelihoodDefinitionForm.h"
#include "pages/likelihood/LikelihoodDefinitionModel.h"
#include "pages/likelihood/LikelihoodDefinitionPage.h"
#include "pages/likelihood/LikelihoodDefinitionView.h"
#include "pages/likelihood/NormalLikelihoodPage.h"

#include <QAbstractItemModelTester>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

namespace {

constexpr int Label = LikelihoodDefinitionModel::LabelColumn;
constexpr int Probability = LikelihoodDefinitionModel::ProbabilityColumn;
constexpr int Counts = LikelihoodDefinitionModel::CountsColumn;

zav::EquationPtr formula(const QString &text)
{
    return zav::parse(text, pelk::SymbolValidator());
}

void addCategory(LikelihoodDefinitionModel *table, const QString &label, const QString &probability)
{
    const int row = table->rowCount() - 1;
    const zav::EquationPtr tree = formula(probability);
    table->setData(table->index(row, Label), label);
    table->setData(table->index(row, Probability), QVariant::fromValue(EquationDefinition(probability, tree.get())));
}

// Right-clicks the row and chooses the menu's first action; returns
// whether a menu opened.
bool deleteFromContextMenu(LikelihoodDefinitionView *view, int row)
{
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            opened = true;
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    const QPoint point = view->visualRect(view->model()->index(row, Label)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, view->viewport()->mapToGlobal(point));
    QApplication::sendEvent(view->viewport(), &event);
    QCoreApplication::processEvents();
    return opened;
}

// A shown window with the parameter s, its first likelihood's table page
// and a second, normal likelihood "Mean size".
struct Window : WindowFixture
{
    LikelihoodDefinitionPage *table = nullptr;
    QPointer<NormalLikelihoodPage> normal;

    Window()
    {
        window.show();
        window.workspace().model.insertParameter(0, "s");
        window.newLikelihood("Mean size", true);
        table = qobject_cast<LikelihoodDefinitionPage *>(window.likelihoodPages().at(0));
        normal = qobject_cast<NormalLikelihoodPage *>(window.likelihoodPages().at(1));
    }
};

} // namespace

class tst_Likelihood : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;

private:
    // Parameters N and p, convenience function q; likelihood "Other" holds
    // the category "elsewhere", the table edits the empty likelihood "L".
    std::unique_ptr<pelk::ModelDefinition> m_model;
    QMap<QString, int> m_counts;
    int m_id = -1;
    std::unique_ptr<LikelihoodDefinitionModel> m_table;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    QModelIndex cell(int row, int column) const { return m_table->index(row, column); }
    QVariant shown(int row, int column) const { return cell(row, column).data(Qt::DisplayRole); }
    bool editable(int row, int column) const { return cell(row, column).flags() & Qt::ItemIsEditable; }
    bool italic(int row, int column) const { return cell(row, column).data(Qt::FontRole).value<QFont>().italic(); }

    // What the formula editor hands over: the text and a tree it keeps.
    bool setProbability(int row, const QString &text)
    {
        const zav::EquationPtr tree = formula(text);
        return m_table->setData(cell(row, Probability), QVariant::fromValue(EquationDefinition(text, tree.get())));
    }

private slots:
    void init()
    {
        m_model = std::make_unique<pelk::ModelDefinition>();
        m_model->insertParameter(0, "N");
        m_model->insertParameter(1, "p");
        m_model->insertVariable(0, "q", "1-p", formula("1-p"));
        const int other = m_model->addLikelihood("Other", false);
        m_model->insertCategory(other, "elsewhere", "1", formula("1"));
        m_counts = {{"elsewhere", 2}};
        m_id = m_model->addLikelihood("L", false);
        m_table = std::make_unique<LikelihoodDefinitionModel>(m_id, m_model.get(), &m_counts);
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_table.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    void cleanup()
    {
        m_tester.reset();
        m_table.reset();
        m_model.reset();
    }

    void entryRowOpensCellByCell()
    {
        QCOMPARE(m_table->rowCount(), 1);
        QVERIFY(editable(0, Label) && !editable(0, Probability) && !editable(0, Counts));
        QSignalSpy inserted(m_table.get(), &QAbstractItemModel::rowsInserted);
        QVERIFY(m_table->setData(cell(0, Label), "  seen \t twice "));
        QCOMPARE(shown(0, Label).toString(), QString("seen twice"));
        QVERIFY(editable(0, Probability) && !editable(0, Counts));
        QVERIFY(!m_table->setData(cell(0, Probability), QVariant::fromValue(EquationDefinition("p+", nullptr))));
        QCOMPARE(m_model->categoryCount(m_id), 0);

        QVERIFY(setProbability(0, "p*p"));
        QCOMPARE(m_model->categoryLabel(m_id, 0) + m_model->categoryProbability(m_id, 0), QString("seen twicep*p"));
        QCOMPARE(m_counts.value("seen twice", -1), 0);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(m_table->pendingLabel(), QString());
        QVERIFY(editable(0, Label) && editable(0, Probability) && editable(0, Counts));
        QVERIFY(!setProbability(1, "p")); // no label typed yet
        QVERIFY(setProbability(0, "1-p"));
        QCOMPARE(m_model->categoryProbability(m_id, 0), QString("1-p"));
    }

    void parenthesisedSymbolMakesTheUnobservedCategory_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("unobserved");
        QTest::newRow("parameter") << "N" << true;
        QTest::newRow("convenience function") << "q" << true;
        QTest::newRow("unknown name") << "M" << false;
        QTest::newRow("case differs") << "n" << false;
    }
    void parenthesisedSymbolMakesTheUnobservedCategory()
    {
        QFETCH(QString, name);
        QFETCH(bool, unobserved);
        QVERIFY(m_table->setData(cell(0, Label), "(" + name + ")"));
        QCOMPARE(m_table->pendingUnobservedName(), unobserved ? name : QString());
        QCOMPARE(shown(0, Counts).toString(), unobserved ? name + " - ..." : QString());
        QCOMPARE(italic(0, Label), unobserved);
        QVERIFY(setProbability(0, "1 - p"));
        QCOMPARE(m_model->hasUnobservedCategory(m_id), unobserved);
        QCOMPARE(m_table->rowCount(), unobserved ? 1 : 2);
        if (!unobserved) {
            QCOMPARE(m_model->categoryLabel(m_id, 0), "(" + name + ")");
            return;
        }
        QCOMPARE(m_model->abundanceSymbolName(m_id), name);
        QVERIFY(italic(0, Probability));
        QVERIFY(!editable(0, Label) && editable(0, Probability) && !editable(0, Counts));
        QVERIFY(!m_table->setData(cell(0, Counts), "5"));
        QVERIFY(!m_counts.contains("(" + name + ")"));
        // A new probability replaces the unobserved one.
        QVERIFY(setProbability(0, "p"));
        QCOMPARE(m_model->categoryProbability(m_id, 0), QString("p"));
        QCOMPARE(m_model->abundanceSymbolName(m_id), name);
    }

    void pendingParenthesisedLabelFollowsTheSymbols()
    {
        QVERIFY(m_table->setData(cell(0, Label), "(M)"));
        QSignalSpy changed(m_table.get(), &QAbstractItemModel::dataChanged);
        m_model->insertParameter(2, "M");
        QCOMPARE(m_table->pendingUnobservedName(), QString("M"));
        QCOMPARE(shown(0, Counts).toString(), QString("M - ..."));
        QCOMPARE(changed.count(), 1);
        m_model->deleteParameter(2);
        QCOMPARE(m_table->pendingUnobservedName(), QString());
        QVERIFY(setProbability(0, "p"));
        QCOMPARE(m_model->categoryLabel(m_id, 0), QString("(M)"));
    }

    // Row 0 renames the category "seen" (count 5), row 1 types a new label.
    void labelsMustBeUniqueAndReadBack_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("refusal"); // "unchanged": no edit at all
        QTest::newRow("used in another likelihood") << 1 << "elsewhere" << "duplicate";
        QTest::newRow("used in this likelihood") << 1 << "seen" << "duplicate";
        QTest::newRow("case differs") << 1 << "Elsewhere" << "";
        QTest::newRow("comma") << 1 << "a,b" << "illegal";
        QTest::newRow("equals between blanks") << 1 << "e = f" << "";
        QTest::newRow("empty clears the entry row") << 1 << "" << "";
        QTest::newRow("rename, blanks collapsed") << 0 << " A  +  B " << "";
        QTest::newRow("rename to another likelihood's") << 0 << "elsewhere" << "duplicate";
        QTest::newRow("rename to blanks") << 0 << "   " << "illegal";
        QTest::newRow("rename to the same label") << 0 << " seen " << "unchanged";
    }
    void labelsMustBeUniqueAndReadBack()
    {
        QFETCH(int, row);
        QFETCH(QString, label);
        QFETCH(QString, refusal);
        addCategory(m_table.get(), "seen", "p");
        m_counts["seen"] = 5;
        QSignalSpy illegal(m_table.get(), &LikelihoodDefinitionModel::illegalCategoryLabelError);
        QSignalSpy duplicate(m_table.get(), &LikelihoodDefinitionModel::duplicateCategoryLabelError);
        QSignalSpy labelChanged(m_model.get(), &pelk::ModelDefinition::categoryLabelChanged);
        const bool accepted = refusal.isEmpty();
        const QString simplified = label.simplified();
        QCOMPARE(m_table->setData(cell(row, Label), label), accepted);
        if (row == 0) {
            // The count goes with its category.
            QCOMPARE(m_model->categoryLabel(m_id, 0), accepted ? simplified : QString("seen"));
            QCOMPARE(m_counts.value(accepted ? simplified : QString("seen")), 5);
            QCOMPARE(m_counts.contains("seen"), !accepted);
            QCOMPARE(labelChanged.count(), accepted ? 1 : 0);
        } else {
            QCOMPARE(m_table->pendingLabel(), accepted ? simplified : QString());
            QCOMPARE(editable(1, Probability), accepted && !simplified.isEmpty());
        }
        QCOMPARE(illegal.count(), refusal == "illegal" ? 1 : 0);
        QCOMPARE(duplicate.count(), refusal == "duplicate" ? 1 : 0);
        if (refusal == "illegal" || refusal == "duplicate")
            QCOMPARE((refusal == "illegal" ? illegal : duplicate).at(0).at(0).toString(), simplified);
    }

    void labelTakenWhileItWaitsIsRefusedOnCompletion()
    {
        QVERIFY(m_table->setData(cell(0, Label), "late"));
        m_model->insertCategory(m_model->likelihoodId(0), "late", "p", formula("p"));
        QSignalSpy duplicate(m_table.get(), &LikelihoodDefinitionModel::duplicateCategoryLabelError);
        QVERIFY(!setProbability(0, "p"));
        QCOMPARE(duplicate.count(), 1);
        QCOMPARE(m_model->categoryCount(m_id), 0);
        QCOMPARE(m_table->pendingLabel(), QString());
    }

    void countsMustBeWholeNumbersOfAtLeastZero_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored"); // -1: refused
        QTest::newRow("number") << "12" << 12;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("as it was: no change") << "4" << 4;
        QTest::newRow("largest int") << "2147483647" << 2147483647;
        QTest::newRow("beyond int") << "2147483648" << -1;
        QTest::newRow("word") << "abc" << -1;
        QTest::newRow("negative") << "-3" << -1;
        QTest::newRow("exponent") << "1e3" << -1;
    }
    void countsMustBeWholeNumbersOfAtLeastZero()
    {
        QFETCH(QString, text);
        QFETCH(int, stored);
        addCategory(m_table.get(), "seen", "p");
        m_counts["seen"] = 4;
        QSignalSpy illegal(m_table.get(), &LikelihoodDefinitionModel::illegalCountsError);
        QSignalSpy countsChanged(m_table.get(), &LikelihoodDefinitionModel::categoryCountsChanged);
        QCOMPARE(m_table->setData(cell(0, Counts), text), stored >= 0);
        QCOMPARE(m_counts.value("seen"), stored >= 0 ? stored : 4);
        QCOMPARE(countsChanged.count(), stored >= 0 && stored != 4 ? 1 : 0);
        QCOMPARE(illegal.count(), stored >= 0 ? 0 : 1);
        if (stored < 0)
            QCOMPARE(illegal.at(0).at(0).toString(), text);
        QVERIFY(!m_table->setData(cell(1, Counts), "5")); // the entry row has no count
    }

    void deletingRows()
    {
        addCategory(m_table.get(), "first", "p");
        addCategory(m_table.get(), "second", "1-p");
        QVERIFY(m_table->setData(cell(2, Label), "(N)"));
        QVERIFY(setProbability(2, "0"));
        m_counts["first"] = 6;
        QSignalSpy removed(m_table.get(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy unobservedDeleted(m_table.get(), &LikelihoodDefinitionModel::unobservedCategoryDeleted);
        m_table->deleteRow(0);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(m_model->categoryLabel(m_id, 0), QString("second"));
        QCOMPARE(m_counts.value("first"), 6); // the count stays for a category read again
        // The unobserved category leaves an empty entry row behind.
        m_table->deleteRow(1);
        QVERIFY(!m_model->hasUnobservedCategory(m_id));
        QCOMPARE(unobservedDeleted.count(), 1);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(m_table->rowCount(), 2);
        QVERIFY(!italic(1, Label) && editable(1, Label));
        // An entry row without an unobserved category has nothing to delete.
        QVERIFY(m_table->setData(cell(1, Label), "typed"));
        m_table->deleteRow(1);
        m_table->deleteRow(2);
        QCOMPARE(removed.count() + unobservedDeleted.count(), 2);
        QCOMPARE(m_table->pendingLabel(), QString("typed"));
    }

    void lockMakesEveryCellReadOnly()
    {
        addCategory(m_table.get(), "seen", "p");
        m_table->onLockWorkspace();
        QVERIFY(!editable(0, Label) && !editable(0, Probability) && !editable(0, Counts) && !editable(1, Label));
        QVERIFY(!m_table->setData(cell(0, Label), "other"));
        m_table->deleteRow(0);
        QCOMPARE(m_model->categoryCount(m_id), 1);
        m_table->onClearEstimates();
        QVERIFY(editable(0, Label) && editable(1, Label));
    }

    void loadedCountsAreShownAndADeletedLikelihoodLeavesNoRows()
    {
        addCategory(m_table.get(), "first", "p");
        addCategory(m_table.get(), "second", "1-p");
        QSignalSpy changed(m_table.get(), &QAbstractItemModel::dataChanged);
        m_counts["first"] = 9;
        m_counts.remove("second");
        m_table->onCategoryCountsLoaded();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(1).toModelIndex(), cell(2, Counts));
        QCOMPARE(shown(0, Counts).toInt(), 9);
        QCOMPARE(shown(1, Counts).toInt(), 0); // a label missing from the map
        m_model->deleteLikelihood(m_id);
        QCOMPARE(m_table->rowCount(), 0);
    }

    void likelihoodDialogsRefuseBadNames_data()
    {
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("names");
        const QStringList unchanged {"Likelihood 1"};
        QTest::newRow("new, blanks collapsed") << false << "  Second   one " << "" << QStringList {"Likelihood 1", "Second one"};
        QTest::newRow("new, empty") << false << "" << "Please enter a valid name" << unchanged;
        QTest::newRow("new, name in use") << false << "Likelihood 1"
                                          << "Name already in use.  Please enter a unique name." << unchanged;
        QTest::newRow("rename") << true << "Capture history" << "" << QStringList {"Capture history"};
        QTest::newRow("rename, blank") << true << " " << "Please enter a valid name." << unchanged;
        QTest::newRow("rename, name in use") << true << "Likelihood 1" << "Name already in use" << unchanged;
    }
    void likelihoodDialogsRefuseBadNames()
    {
        QFETCH(bool, rename);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QStringList, names);
        WindowFixture f;
        f.window.show();
        const char *field = rename ? "nameLineEdit" : "newLikelihoodLineEdit";
        f.answerer.handle([field, name](QWidget *dialog) {
            dialog->findChild<QLineEdit *>(field)->setText(name);
            // Once the handler has returned, so that a box OK raises meets
            // the answerer's polling.
            QMetaObject::invokeMethod(dialog->findChild<QPushButton *>("okButton"), &QPushButton::click,
                                      Qt::QueuedConnection);
        });
        if (!message.isEmpty()) {
            f.answerer.answer(QMessageBox::Ok);
            f.answerer.handle([](QWidget *dialog) { dialog->findChild<QPushButton *>("cancelButton")->click(); });
        }
        LikelihoodPage *first = f.window.likelihoodPages().first();
        f.window.showPage(first);
        (rename ? first->form()->renameLikelihoodButton() : first->form()->newLikelihoodButton())->click();
        QVERIFY(f.answerer.allAnswered());
        QCOMPARE(f.answerer.unexpected(), 0);
        QCOMPARE(f.answerer.texts(), message.isEmpty() ? QStringList() : QStringList({message}));
        QStringList created;
        for (int position = 0; position < f.window.workspace().model.likelihoodCount(); ++position)
            created << f.window.workspace().model.likelihoodName(f.window.workspace().model.likelihoodId(position));
        QCOMPARE(created, names);
        QCOMPARE(f.window.currentPage()->title(), names.last());
    }

    // Refusals typed into the table's cells on its status bar; the lock on
    // both kinds of page; then the context menu, the tool bars of a normal
    // likelihood and Delete, which needs another likelihood.
    void wiringOfBothKindsOfPage()
    {
        Window w;
        const int id = w.table->likelihoodId();
        addCategory(w.table->definitionModel(), "seen", "0.5");
        w.window.showPage(w.table);
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        const struct
        {
            int row, column;
            const char *text, *message;
        } refusals[] = {{1, Label, "seen", "Duplicate category label \"seen\" used."},
                        {1, Label, "a,b", "Illegal category label \"a,b\"."},
                        {0, Counts, "-3", "Illegal counts \"-3\"."},
                        {0, Probability, "s**2", "\"*\" - Invalid symbol name"}};
        for (const auto &refusal : refusals) {
            const QModelIndex cell = w.table->definitionModel()->index(refusal.row, refusal.column);
            QVERIFY(support::typeInto(w.table->view(), cell, refusal.text, Qt::Key_Return));
            QCOMPARE(w.table->statusBar()->currentMessage(), QString(refusal.message));
        }
        QCOMPARE(w.window.workspace().model.categoryProbability(id, 0), QString("0.5"));
        QCOMPARE(w.window.workspace().categoryCounts.value("seen"), 0);

        addCategory(w.table->definitionModel(), "(s)", "0.5");
        w.window.setWorkspaceFileName(w.files.path("saved.txt"));
        QVERIFY(w.window.writeWorkspace());
        for (bool locked : {true, false}) {
            emit(locked ? w.window.lockWorkspace() : w.window.clearEstimates());
            w.window.showPage(w.normal); // a visit does not open the way to Delete
            w.window.showPage(w.table);
            for (LikelihoodPage *page : std::initializer_list<LikelihoodPage *>{w.table, w.normal}) {
                LikelihoodDefinitionForm *form = page->form();
                for (QPushButton *button : {form->newLikelihoodButton(), form->renameLikelihoodButton(),
                                            form->deleteLikelihoodButton()})
                    QCOMPARE(button->isEnabled(), !locked);
            }
            QCOMPARE(w.table->definitionModel()->isLocked(), locked);
            QCOMPARE(w.normal->expectedLineEdit()->isReadOnly(), locked);
            QCOMPARE(deleteFromContextMenu(w.table->view(), 1), !locked);
        }
        // The model definition does not announce the unobserved category's
        // deletion; the page does.
        QVERIFY(!w.window.workspace().model.hasUnobservedCategory(id));
        QVERIFY(w.window.isChanged());
        QVERIFY(deleteFromContextMenu(w.table->view(), 0));
        QCOMPARE(w.window.workspace().model.categoryCount(id), 0);

        w.window.showPage(w.normal); // fills the tool bars
        w.window.activateWindow(); // the menus took the activation with them
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        EquationLineEdit *field = w.normal->observedLineEdit();
        field->setFocus();
        QTest::keyPress(field, Qt::Key_Control);
        w.normal->parametersToolBar()->actions().value(0)->trigger();
        QTest::keyRelease(field, Qt::Key_Control);
        QCOMPARE(field->text(), QString("(1-s)"));
        // A formula typed but not committed goes nowhere once its likelihood is deleted.
        const int normalId = w.normal->likelihoodId();
        w.normal->form()->deleteLikelihoodButton()->click();
        QCOMPARE(w.window.workspace().model.observed(normalId), QString());
        QTRY_VERIFY(w.normal.isNull());
        QCOMPARE(w.window.workspace().model.likelihoodCount(), 1);
        w.window.showPage(w.table);
        QVERIFY(!w.table->form()->deleteLikelihoodButton()->isEnabled());
    }

    void normalFieldsCommitOnlyAParsedNewFormula_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("leave"); // else Return
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        const QString error = "\"*\" - Invalid symbol name";
        QTest::newRow("Return") << "10*s" << false << "10*s" << "10*s" << "";
        QTest::newRow("leaving") << "10*s" << true << "10*s" << "10*s" << "";
        QTest::newRow("same formula") << "s" << false << "s" << "s" << "";
        QTest::newRow("error, Return keeps the text") << "s**2" << false << "s" << "s**2" << error;
        QTest::newRow("error, leaving restores the formula") << "s**2" << true << "s" << "s" << error;
        QTest::newRow("empty, Return") << "" << false << "s" << "" << "";
        QTest::newRow("empty, leaving") << "" << true << "s" << "s" << "";
    }
    void normalFieldsCommitOnlyAParsedNewFormula()
    {
        QFETCH(QString, typed);
        QFETCH(bool, leave);
        QFETCH(QString, stored);
        Window w;
        NormalLikelihoodPage *page = w.normal;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        EquationLineEdit *field = page->expectedLineEdit();
        field->setFocus();
        QTest::keyClicks(field, "s");
        QTest::keyClick(field, Qt::Key_Return);
        QSignalSpy changed(page, &LikelihoodPage::definitionChanged);
        field->clear();
        QTest::keyClicks(field, typed);
        if (leave)
            page->form()->newLikelihoodButton()->setFocus();
        else
            QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(w.window.workspace().model.expected(page->likelihoodId()), stored);
        QTEST(field->text(), "shown");
        QTEST(page->statusBar()->currentMessage(), "message");
        QCOMPARE(changed.count(), stored == "s" ? 0 : 1);
    }
};

QTEST_MAIN(tst_Likelihood)
#include "tst_likelihoodpages.moc"
