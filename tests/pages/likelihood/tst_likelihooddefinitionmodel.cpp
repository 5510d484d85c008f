// The category table of one likelihood, on its own: what each cell shows
// and allows, every editing rule, deletion and the workspace lock, checked
// against the model definition and the counts map it translates.
#include "expr/Parser.h"
#include "expr/SymbolValidator.h"
#include "model/ModelDefinition.h"
#include "pages/equation/EquationDefinition.h"
#include "pages/likelihood/LikelihoodDefinitionModel.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

constexpr int Label = LikelihoodDefinitionModel::LabelColumn;
constexpr int Probability = LikelihoodDefinitionModel::ProbabilityColumn;
constexpr int Counts = LikelihoodDefinitionModel::CountsColumn;

zav::EquationPtr formula(const QString &text)
{
    return zav::parse(text, pelk::SymbolValidator());
}

} // namespace

class TestLikelihoodDefinitionModel : public QObject
{
    Q_OBJECT

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
    int entryRow() const { return m_table->rowCount() - 1; }

    // What the formula editor hands over: the text and a tree it keeps.
    bool setProbability(int row, const QString &text)
    {
        const zav::EquationPtr tree = formula(text);
        return m_table->setData(cell(row, Probability), QVariant::fromValue(EquationDefinition(text, tree.get())));
    }
    void addCategory(const QString &label, const QString &probability)
    {
        QVERIFY(m_table->setData(cell(entryRow(), Label), label));
        QVERIFY(setProbability(entryRow(), probability));
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

    void newLikelihoodShowsOneEmptyEntryRow()
    {
        QCOMPARE(m_table->rowCount(), 1);
        QCOMPARE(m_table->columnCount(), 3);
        QCOMPARE(shown(0, Label).toString(), QString());
        QVERIFY(!shown(0, Probability).isValid());
        QVERIFY(!shown(0, Counts).isValid());
        QVERIFY(!cell(0, Label).data(Qt::FontRole).isValid());
        QVERIFY(!cell(0, Label).data(Qt::EditRole).isValid());
        QVERIFY(!m_table->index(1, Label).isValid());
    }

    void headersAreBoldLabelsAndRowNumbers()
    {
        QCOMPARE(m_table->headerData(0, Qt::Horizontal).toString(), QString("Label"));
        QCOMPARE(m_table->headerData(1, Qt::Horizontal).toString(), QString("Probability"));
        QCOMPARE(m_table->headerData(2, Qt::Horizontal).toString(), QString("Counts"));
        QCOMPARE(m_table->headerData(0, Qt::Vertical).toInt(), 1);
        for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical})
            QVERIFY(m_table->headerData(0, orientation, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!m_table->headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    }

    void labelThenProbabilityAddsCategoryWithCountZero()
    {
        QSignalSpy inserted(m_table.get(), &QAbstractItemModel::rowsInserted);
        QVERIFY(m_table->setData(cell(0, Label), "  seen \t twice "));
        QCOMPARE(m_table->pendingLabel(), QString("seen twice"));
        QCOMPARE(shown(0, Label).toString(), QString("seen twice"));
        QCOMPARE(m_model->categoryCount(m_id), 0);
        QVERIFY(setProbability(0, "p*p"));

        QCOMPARE(m_model->categoryCount(m_id), 1);
        QCOMPARE(m_model->categoryLabel(m_id, 0), QString("seen twice"));
        QCOMPARE(m_model->categoryProbability(m_id, 0), QString("p*p"));
        QVERIFY(m_model->categoryEquation(m_id, 0));
        QCOMPARE(m_counts.value("seen twice", -1), 0);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(inserted.at(0).at(2).toInt(), 1);
        QCOMPARE(m_table->rowCount(), 2);
        QCOMPARE(shown(0, Counts).toInt(), 0);
        QCOMPARE(shown(1, Label).toString(), QString());
        QCOMPARE(m_table->pendingLabel(), QString());
    }

    void cellFlagsFollowTheRowState()
    {
        // Entry row, nothing typed: only the label.
        QVERIFY(editable(0, Label));
        QVERIFY(!editable(0, Probability));
        QVERIFY(!editable(0, Counts));
        // A pending label opens the probability.
        QVERIFY(m_table->setData(cell(0, Label), "seen"));
        QVERIFY(editable(0, Probability));
        QVERIFY(!editable(0, Counts));
        QVERIFY(setProbability(0, "p"));
        // A regular category: everything.
        for (int column : {Label, Probability, Counts})
            QVERIFY(editable(0, column));
        // The unobserved category: only its probability.
        QVERIFY(m_table->setData(cell(1, Label), "(N)"));
        QVERIFY(setProbability(1, "1-p"));
        QVERIFY(!editable(1, Label));
        QVERIFY(editable(1, Probability));
        QVERIFY(!editable(1, Counts));
    }

    void parenthesisedSymbolMakesTheUnobservedCategory_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("parameter") << "N";
        QTest::newRow("convenience function") << "q";
    }
    void parenthesisedSymbolMakesTheUnobservedCategory()
    {
        QFETCH(QString, name);
        QVERIFY(m_table->setData(cell(0, Label), "(" + name + ")"));
        QCOMPARE(m_table->pendingUnobservedName(), name);
        QCOMPARE(shown(0, Label).toString(), "(" + name + ")");
        QCOMPARE(shown(0, Counts).toString(), name + " - ...");
        for (int column : {Label, Probability, Counts})
            QVERIFY(cell(0, column).data(Qt::FontRole).value<QFont>().italic());

        QSignalSpy inserted(m_table.get(), &QAbstractItemModel::rowsInserted);
        QVERIFY(setProbability(0, "1 - p"));
        QVERIFY(m_model->hasUnobservedCategory(m_id));
        QCOMPARE(m_model->abundanceSymbolName(m_id), name);
        QCOMPARE(m_model->categoryProbability(m_id, 0), QString("1 - p"));
        QCOMPARE(m_model->categoryCount(m_id), 0);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(m_table->rowCount(), 1);
        QCOMPARE(shown(0, Label).toString(), "(" + name + ")");
        QCOMPARE(shown(0, Probability).toString(), QString("1 - p"));
        QCOMPARE(shown(0, Counts).toString(), name + " - ...");
        QVERIFY(cell(0, Label).data(Qt::FontRole).value<QFont>().italic());
        QVERIFY(!m_counts.contains("(" + name + ")"));

        // A new probability replaces the unobserved one.
        QVERIFY(setProbability(0, "p"));
        QCOMPARE(m_model->categoryProbability(m_id, 0), QString("p"));
        QCOMPARE(m_model->abundanceSymbolName(m_id), name);
    }

    void parenthesisedUnknownNameIsAnOrdinaryLabel()
    {
        QVERIFY(m_table->setData(cell(0, Label), "(M)"));
        QCOMPARE(m_table->pendingUnobservedName(), QString());
        QVERIFY(!cell(0, Label).data(Qt::FontRole).isValid());
        QVERIFY(!shown(0, Counts).isValid());
        // Names are matched exactly, case included.
        QVERIFY(m_table->setData(cell(0, Label), "(n)"));
        QCOMPARE(m_table->pendingUnobservedName(), QString());
        QVERIFY(setProbability(0, "p"));
        QCOMPARE(m_model->categoryLabel(m_id, 0), QString("(n)"));
        QVERIFY(!m_model->hasUnobservedCategory(m_id));
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
        QCOMPARE(m_table->pendingLabel(), QString("(M)"));
        QVERIFY(setProbability(0, "p"));
        QCOMPARE(m_model->categoryLabel(m_id, 0), QString("(M)"));
    }

    void renamingToTheSameLabelChangesNothing()
    {
        addCategory("seen", "p");
        QSignalSpy changed(m_table.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy labelChanged(m_model.get(), &pelk::ModelDefinition::categoryLabelChanged);
        QVERIFY(!m_table->setData(cell(0, Label), " seen "));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(labelChanged.count(), 0);
    }

    void renamingMovesTheCount()
    {
        addCategory("seen", "p");
        m_counts["seen"] = 5;
        QVERIFY(m_table->setData(cell(0, Label), "seen once"));
        QCOMPARE(m_model->categoryLabel(m_id, 0), QString("seen once"));
        QCOMPARE(m_counts.value("seen once"), 5);
        QVERIFY(!m_counts.contains("seen"));
        QCOMPARE(shown(0, Counts).toInt(), 5);
    }

    void labelUsedInAnotherLikelihoodIsRefused()
    {
        addCategory("seen", "p");
        QSignalSpy duplicate(m_table.get(), &LikelihoodDefinitionModel::duplicateCategoryLabelError);
        QVERIFY(!m_table->setData(cell(0, Label), "elsewhere"));
        QCOMPARE(m_model->categoryLabel(m_id, 0), QString("seen"));
        QVERIFY(!m_table->setData(cell(1, Label), "elsewhere"));
        QCOMPARE(m_table->pendingLabel(), QString());
        QVERIFY(!m_table->setData(cell(1, Label), "seen"));
        QCOMPARE(duplicate.count(), 3);
        QCOMPARE(duplicate.at(0).at(0).toString(), QString("elsewhere"));
        QCOMPARE(duplicate.at(2).at(0).toString(), QString("seen"));
        // Labels are case-sensitive.
        QVERIFY(m_table->setData(cell(1, Label), "Elsewhere"));
    }

    void labelTakenWhileItWaitsIsRefusedOnCompletion()
    {
        QVERIFY(m_table->setData(cell(0, Label), "late"));
        const int other = m_model->likelihoodId(0);
        m_model->insertCategory(other, "late", "p", formula("p"));
        QSignalSpy duplicate(m_table.get(), &LikelihoodDefinitionModel::duplicateCategoryLabelError);
        QVERIFY(!setProbability(0, "p"));
        QCOMPARE(duplicate.count(), 1);
        QCOMPARE(m_model->categoryCount(m_id), 0);
        QCOMPARE(m_table->pendingLabel(), QString());
    }

    void labelsTheFileCannotReadBackAreRefused_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("comma") << "a,b" << false;
        QTest::newRow("semicolon") << "x;y" << false;
        QTest::newRow("quote") << "q\"" << false;
        QTest::newRow("colon") << "c:d" << false;
        QTest::newRow("equals") << "e=f" << false;
        QTest::newRow("comment") << "#g" << false;
        QTest::newRow("words and operators") << "A + B" << true;
        QTest::newRow("equals between blanks") << "e = f" << true;
    }
    void labelsTheFileCannotReadBackAreRefused()
    {
        QFETCH(QString, label);
        QFETCH(bool, accepted);
        addCategory("seen", "p");
        QSignalSpy illegal(m_table.get(), &LikelihoodDefinitionModel::illegalCategoryLabelError);

        // Renaming a category.
        QCOMPARE(m_table->setData(cell(0, Label), label), accepted);
        QCOMPARE(m_model->categoryLabel(m_id, 0), accepted ? label : QString("seen"));
        // Typing a new one.
        QCOMPARE(m_table->setData(cell(1, Label), label + " 2"), accepted);
        QCOMPARE(m_table->pendingLabel(), accepted ? label + " 2" : QString());

        QCOMPARE(illegal.count(), accepted ? 0 : 2);
        if (!accepted) {
            QCOMPARE(illegal.at(0).at(0).toString(), label);
            QCOMPARE(illegal.at(1).at(0).toString(), label + " 2");
        }
    }

    void emptyLabelIsRefusedForACategoryButClearsTheEntryRow()
    {
        addCategory("seen", "p");
        QSignalSpy illegal(m_table.get(), &LikelihoodDefinitionModel::illegalCategoryLabelError);
        QVERIFY(!m_table->setData(cell(0, Label), "   "));
        QCOMPARE(illegal.count(), 1);
        QCOMPARE(m_model->categoryLabel(m_id, 0), QString("seen"));

        QVERIFY(m_table->setData(cell(1, Label), "pending"));
        QVERIFY(m_table->setData(cell(1, Label), ""));
        QCOMPARE(m_table->pendingLabel(), QString());
        QVERIFY(!editable(1, Probability));
        QCOMPARE(illegal.count(), 1);
    }

    void probabilityWithoutATreeIsRefused()
    {
        addCategory("seen", "p");
        QVERIFY(!m_table->setData(cell(0, Probability), QVariant::fromValue(EquationDefinition("p+", nullptr))));
        QVERIFY(!m_table->setData(cell(0, Probability), QString("q")));
        QCOMPARE(m_model->categoryProbability(m_id, 0), QString("p"));
        // Without a pending label the entry row takes no probability either.
        QVERIFY(!setProbability(1, "p"));
        QCOMPARE(m_model->categoryCount(m_id), 1);
    }

    void probabilityOfACategoryIsReplaced()
    {
        addCategory("seen", "p");
        QSignalSpy changed(m_model.get(), &pelk::ModelDefinition::categoryProbabilityChanged);
        QVERIFY(setProbability(0, "1-p"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_model->categoryProbability(m_id, 0), QString("1-p"));
        QCOMPARE(shown(0, Probability).toString(), QString("1-p"));
    }

    void countsMustBeWholeNumbersOfAtLeastZero_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored"); // -1: refused
        QTest::newRow("number") << "12" << 12;
        QTest::newRow("blanks around") << " 12 " << 12;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("leading zero") << "007" << 7;
        QTest::newRow("largest int") << "2147483647" << 2147483647;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("blank") << "  " << -1;
        QTest::newRow("word") << "abc" << -1;
        QTest::newRow("fraction") << "1.5" << -1;
        QTest::newRow("negative") << "-3" << -1;
        QTest::newRow("beyond int") << "2147483648" << -1;
        QTest::newRow("exponent") << "1e3" << -1;
        QTest::newRow("number and word") << "12 cats" << -1;
    }
    void countsMustBeWholeNumbersOfAtLeastZero()
    {
        QFETCH(QString, text);
        QFETCH(int, stored);
        addCategory("seen", "p");
        m_counts["seen"] = 4;
        QSignalSpy illegal(m_table.get(), &LikelihoodDefinitionModel::illegalCountsError);
        QSignalSpy countsChanged(m_table.get(), &LikelihoodDefinitionModel::categoryCountsChanged);

        QCOMPARE(m_table->setData(cell(0, Counts), text), stored >= 0);
        QCOMPARE(m_counts.value("seen"), stored >= 0 ? stored : 4);
        QCOMPARE(countsChanged.count(), stored >= 0 ? 1 : 0);
        QCOMPARE(illegal.count(), stored >= 0 ? 0 : 1);
        if (stored < 0)
            QCOMPARE(illegal.at(0).at(0).toString(), text);
    }

    void countLeftAsItWasIsNoChange()
    {
        addCategory("seen", "p");
        QSignalSpy countsChanged(m_table.get(), &LikelihoodDefinitionModel::categoryCountsChanged);
        QVERIFY(m_table->setData(cell(0, Counts), "0"));
        QCOMPARE(countsChanged.count(), 0);
        QVERIFY(m_table->setData(cell(0, Counts), "3"));
        QCOMPARE(countsChanged.count(), 1);
    }

    void entryRowTakesNoCount()
    {
        QVERIFY(m_table->setData(cell(0, Label), "(N)"));
        QVERIFY(!m_table->setData(cell(0, Counts), "5"));
        QVERIFY(setProbability(0, "p"));
        QVERIFY(!m_table->setData(cell(0, Counts), "5"));
        QVERIFY(!m_counts.contains("(N)"));
    }

    void deletingARegularCategoryKeepsItsCount()
    {
        addCategory("first", "p");
        addCategory("second", "1-p");
        m_counts["first"] = 6;
        QSignalSpy removed(m_table.get(), &QAbstractItemModel::rowsRemoved);
        m_table->deleteRow(0);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 0);
        QCOMPARE(m_model->categoryCount(m_id), 1);
        QCOMPARE(m_model->categoryLabel(m_id, 0), QString("second"));
        QCOMPARE(m_counts.value("first"), 6);
        QCOMPARE(m_table->rowCount(), 2);
    }

    void deletingTheUnobservedCategoryEmptiesTheEntryRow()
    {
        addCategory("seen", "p");
        QVERIFY(m_table->setData(cell(1, Label), "(N)"));
        QVERIFY(setProbability(1, "1-p"));
        QSignalSpy deleted(m_table.get(), &LikelihoodDefinitionModel::unobservedCategoryDeleted);
        QSignalSpy removed(m_table.get(), &QAbstractItemModel::rowsRemoved);
        m_table->deleteRow(1);
        QVERIFY(!m_model->hasUnobservedCategory(m_id));
        QCOMPARE(deleted.count(), 1);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(m_table->rowCount(), 2);
        QCOMPARE(shown(1, Label).toString(), QString());
        QVERIFY(!cell(1, Label).data(Qt::FontRole).isValid());
        QVERIFY(editable(1, Label));
    }

    void deletingTheEntryRowDoesNothing()
    {
        addCategory("seen", "p");
        QVERIFY(m_table->setData(cell(1, Label), "typed"));
        QSignalSpy removed(m_table.get(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy deleted(m_table.get(), &LikelihoodDefinitionModel::unobservedCategoryDeleted);
        QSignalSpy modelDeleted(m_model.get(), &pelk::ModelDefinition::categoryDeleted);
        m_table->deleteRow(1);
        m_table->deleteRow(2);
        QCOMPARE(removed.count() + deleted.count() + modelDeleted.count(), 0);
        QCOMPARE(m_model->categoryCount(m_id), 1);
        QCOMPARE(m_table->pendingLabel(), QString("typed"));
    }

    void lockMakesEveryCellReadOnly()
    {
        addCategory("seen", "p");
        QVERIFY(m_table->setData(cell(1, Label), "typed"));
        m_table->onLockWorkspace();
        QVERIFY(m_table->isLocked());
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column)
                QVERIFY(!editable(row, column));
        QVERIFY(!m_table->setData(cell(0, Label), "other"));
        m_table->deleteRow(0);
        QCOMPARE(m_model->categoryCount(m_id), 1);

        m_table->onClearEstimates();
        QVERIFY(editable(0, Label));
        QVERIFY(editable(1, Probability));
    }

    void loadedCountsAreAnnounced()
    {
        addCategory("first", "p");
        addCategory("second", "1-p");
        QSignalSpy changed(m_table.get(), &QAbstractItemModel::dataChanged);
        m_counts["first"] = 9;
        m_table->onCategoryCountsLoaded();
        QCOMPARE(changed.count(), 1);
        const QModelIndex topLeft = changed.at(0).at(0).toModelIndex();
        const QModelIndex bottomRight = changed.at(0).at(1).toModelIndex();
        QCOMPARE(topLeft, cell(0, Counts));
        QCOMPARE(bottomRight, cell(2, Counts));
        QCOMPARE(shown(0, Counts).toInt(), 9);
        // A label missing from the map shows 0.
        m_counts.remove("second");
        QCOMPARE(shown(1, Counts).toInt(), 0);
    }

    void deletedLikelihoodLeavesNoRows()
    {
        addCategory("seen", "p");
        m_model->deleteLikelihood(m_id);
        QCOMPARE(m_table->rowCount(), 0);
    }
};

QTEST_MAIN(TestLikelihoodDefinitionModel)
#include "tst_likelihooddefinitionmodel.moc"
