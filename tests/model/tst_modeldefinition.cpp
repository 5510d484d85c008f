// The model container: ids, parameter rebuilding, category addressing, the
// unobserved category, ownership and the change signals.
#include "expr/Literal.h"
#include "expr/Parser.h"
#include "expr/SymbolValidator.h"
#include "model/ModelDefinition.h"

#include <QSignalSpy>
#include <QTest>

using pelk::ModelDefinition;

namespace {

zav::EquationPtr formula(const QString &text)
{
    return zav::parse(text, pelk::SymbolValidator());
}

// Every signal of the model, in declaration order, so a test can check that
// one operation emitted exactly the expected signal and nothing else.
const QList<QByteArray> &signalNames()
{
    static const QList<QByteArray> names{
        "parameterInserted(int,QString)", "parameterRenamed(int,QString)", "parameterDeleted(int)",
        "variableInserted(int,QString)", "variableRenamed(int,QString)", "variableDeleted(int)",
        "variableRedefined()", "likelihoodAdded()", "likelihoodDeleted()", "likelihoodRenamed()",
        "categoryInserted()", "categoryDeleted()", "categoryLabelChanged()",
        "categoryProbabilityChanged()"};
    return names;
}

class SignalRecorder
{
public:
    explicit SignalRecorder(ModelDefinition *model)
    {
        for (const QByteArray &name : signalNames())
            m_spies.emplace_back(std::make_unique<QSignalSpy>(model, QByteArray("2" + name).constData()));
    }
    // Names of the signals emitted since the last call, in declaration order.
    QStringList take()
    {
        QStringList emitted;
        for (std::size_t i = 0; i < m_spies.size(); ++i) {
            for (int n = 0; n < m_spies[i]->count(); ++n)
                emitted << QString::fromLatin1(signalNames().at(int(i)).left(signalNames().at(int(i)).indexOf('(')));
            m_spies[i]->clear();
        }
        return emitted;
    }

private:
    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
};

} // namespace

class TestModelDefinition : public QObject
{
    Q_OBJECT

private slots:
    void likelihoodIdsAreNeverReused()
    {
        ModelDefinition model;
        QCOMPARE(model.addLikelihood("Likelihood 1", false), 0);
        QCOMPARE(model.addLikelihood("Likelihood 2", false), 1);
        model.deleteLikelihood(0);
        QCOMPARE(model.addLikelihood("Likelihood 3", true), 2);
        QCOMPARE(model.likelihoodCount(), 2);
        QCOMPARE(model.likelihoodId(0), 1);
        QCOMPARE(model.likelihoodId(1), 2);
        QCOMPARE(model.likelihoodName(2), QString("Likelihood 3"));
        QVERIFY(model.isMultinomial(1));
        QVERIFY(!model.isMultinomial(2));
    }

    void renamingAParameterRebuildsEveryParameterNode()
    {
        ModelDefinition model;
        for (const char *name : {"a", "b", "c"})
            model.insertParameter(model.parameterCount(), name);
        model.renameParameter(1, "beta");
        QCOMPARE(model.parameterNames(), QStringList({"a", "beta", "c"}));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(model.parameter(i)->index(), i);
            QCOMPARE(model.parameter(i)->name(), model.parameterName(i));
        }
        QVERIFY(model.hasParameter("beta"));
        QVERIFY(!model.hasParameter("b"));
    }

    void insertAndDeleteKeepIndexesEqualToPositions()
    {
        ModelDefinition model;
        model.insertParameter(0, "c");
        model.insertParameter(0, "a");
        model.insertParameter(1, "b");
        QCOMPARE(model.parameterNames(), QStringList({"a", "b", "c"}));
        model.deleteParameter(0);
        QCOMPARE(model.parameterNames(), QStringList({"b", "c"}));
        QCOMPARE(model.parameter(0)->index(), 0);
        QCOMPARE(model.parameter(1)->index(), 1);
        QCOMPARE(model.parameter(1)->name(), QString("c"));

        model.insertVariable(0, "g", "b*2", formula("b*2"));
        model.insertVariable(0, "f", "c+1", formula("c+1"));
        QCOMPARE(model.variableNames(), QStringList({"f", "g"}));
        QCOMPARE(model.variableDefinition(1), QString("b*2"));
        QCOMPARE(model.variableEquation(1)->toString(), QString("b*2"));
        model.deleteVariable(0);
        QCOMPARE(model.variableNames(), QStringList({"g"}));
        QCOMPARE(model.variableEquation(0)->toString(), QString("b*2"));
    }

    void categoryProbabilityAddressesTheUnobservedCategoryOnePastTheEnd()
    {
        ModelDefinition model;
        model.insertParameter(0, "p");
        const int id = model.addLikelihood("L", false);
        model.insertCategory(id, "A", "p", formula("p"));
        model.insertCategory(id, "B", "1-p", formula("1-p"));
        QCOMPARE(model.categoryCount(id), 2);
        QCOMPARE(model.categoryProbability(id, 2), QString());
        QVERIFY(model.categoryEquation(id, 2) == nullptr);
        QVERIFY(!model.hasUnobservedCategory(id));
        QVERIFY(model.abundanceSymbol(id) == nullptr);

        model.setUnobservedCategory(id, "p", "1-p*p", formula("1-p*p"));
        QCOMPARE(model.categoryCount(id), 2);
        QCOMPARE(model.categoryProbability(id, 2), QString("1-p*p"));
        QCOMPARE(model.categoryEquation(id, 2)->toString(), QString("1-p*p"));
        QCOMPARE(model.categoryProbability(id, 3), QString());
        QVERIFY(model.categoryEquation(id, 3) == nullptr);
        QCOMPARE(model.categoryLabel(id, 1), QString("B"));

        // Setting it again replaces text, tree and symbol.
        model.insertParameter(1, "N");
        model.setUnobservedCategory(id, "N", "p", formula("p"));
        QCOMPARE(model.abundanceSymbolName(id), QString("N"));
        QCOMPARE(model.categoryProbability(id, 2), QString("p"));
    }

    void deletingTheUnobservedCategoryIsSilent()
    {
        ModelDefinition model;
        model.insertParameter(0, "N");
        const int id = model.addLikelihood("L", false);
        model.insertCategory(id, "A", "0.5", formula("0.5"));
        model.setUnobservedCategory(id, "N", "0.5", formula("0.5"));
        SignalRecorder recorder(&model);
        model.deleteCategory(id, 1);
        QCOMPARE(recorder.take(), QStringList());
        QVERIFY(!model.hasUnobservedCategory(id));
        QCOMPARE(model.abundanceSymbolName(id), QString());
        model.deleteCategory(id, 0);
        QCOMPARE(recorder.take(), QStringList({"categoryDeleted"}));
        QCOMPARE(model.categoryCount(id), 0);
    }

    void categoryLabelIsFoundInAnotherLikelihood()
    {
        ModelDefinition model;
        const int first = model.addLikelihood("L1", false);
        model.addLikelihood("L2", false);
        model.insertCategory(first, "seen once", "0.5", formula("0.5"));
        QVERIFY(model.isCategoryLabelUsed("seen once"));
        QVERIFY(!model.isCategoryLabelUsed("seen"));
        QVERIFY(!model.isCategoryLabelUsed("Seen once"));
    }

    // The unobserved category names its abundance: a parameter before a
    // function of that name, followed through redefinitions, rebuilt
    // parameter nodes and renames, and nothing once the name is gone.
    void abundanceSymbolFollowsItsName()
    {
        ModelDefinition model;
        model.insertParameter(0, "N");
        model.insertVariable(0, "N", "2", formula("2"));
        model.insertVariable(1, "M", "10", formula("10"));
        const int byParameter = model.addLikelihood("L1", false);
        model.setUnobservedCategory(byParameter, "N", "1", formula("1"));
        const int byFunction = model.addLikelihood("L2", false);
        model.setUnobservedCategory(byFunction, "M", "1", formula("1"));
        QCOMPARE(model.abundanceSymbol(byParameter), static_cast<zav::Equation *>(model.parameter(0)));
        QCOMPARE(model.abundanceSymbol(byFunction), model.variableEquation(1));
        model.deleteVariable(0);
        model.redefineVariable(0, "20", formula("20"));
        QCOMPARE(model.abundanceSymbol(byFunction)->evaluate(), 20.0);
        model.insertParameter(0, "p"); // every Parameter node is replaced
        QCOMPARE(model.abundanceSymbol(byParameter), static_cast<zav::Equation *>(model.parameter(1)));
        QCOMPARE(model.parameter(1)->index(), 1);
        model.renameParameter(1, "Abundance");
        model.renameVariable(0, "Twice");
        QCOMPARE(model.abundanceSymbolName(byParameter) + model.abundanceSymbolName(byFunction), "AbundanceTwice");
        QCOMPARE(model.abundanceSymbol(byParameter), static_cast<zav::Equation *>(model.parameter(1)));
        QCOMPARE(model.abundanceSymbol(byFunction), model.variableEquation(0));
        model.deleteParameter(1);
        QVERIFY(model.abundanceSymbol(byParameter) == nullptr); // the name no longer resolves
        QVERIFY(model.hasUnobservedCategory(byParameter));
    }

    void normalFormulasAreStoredSilently()
    {
        ModelDefinition model;
        const int id = model.addLikelihood("Mean size", true);
        QCOMPARE(model.observed(id), QString());
        QVERIFY(model.observedEquation(id) == nullptr);
        SignalRecorder recorder(&model);
        model.setObserved(id, "12.5", formula("12.5"));
        model.setExpected(id, "10*s", formula("10*s"));
        model.setStandardError(id, "0.8", formula("0.8"));
        QCOMPARE(recorder.take(), QStringList());
        QCOMPARE(model.observed(id), QString("12.5"));
        QCOMPARE(model.expected(id), QString("10*s"));
        QCOMPARE(model.standardError(id), QString("0.8"));
        QCOMPARE(model.expectedEquation(id)->toString(), QString("10*s"));
        QCOMPARE(model.standardErrorEquation(id)->evaluate(), 0.8);
        QCOMPARE(model.categoryCount(id), 0);
    }

    void deletingALikelihoodRemovesAllItsData()
    {
        ModelDefinition model;
        model.insertParameter(0, "N");
        const int multinomial = model.addLikelihood("M", false);
        const int normal = model.addLikelihood("N", true);
        model.insertCategory(multinomial, "A", "1", formula("1"));
        model.setUnobservedCategory(multinomial, "N", "0", formula("0"));
        model.setObserved(normal, "1", formula("1"));
        model.deleteLikelihood(multinomial);
        model.deleteLikelihood(normal);
        QCOMPARE(model.likelihoodCount(), 0);
        QVERIFY(!model.isCategoryLabelUsed("A"));
        QVERIFY(!model.hasUnobservedCategory(multinomial));
        QCOMPARE(model.abundanceSymbolName(multinomial), QString());
        QCOMPARE(model.observed(normal), QString());
        QVERIFY(model.observedEquation(normal) == nullptr);
        QVERIFY(!model.hasLikelihood("M"));
    }

    void everyOperationEmitsItsOneSignal_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("signal");
        const QStringList expected{"parameterInserted", "parameterRenamed", "parameterDeleted",
                                   "variableInserted", "variableRenamed", "variableDeleted",
                                   "variableRedefined", "likelihoodAdded", "likelihoodDeleted",
                                   "likelihoodRenamed", "categoryInserted", "categoryDeleted",
                                   "categoryLabelChanged", "categoryProbabilityChanged",
                                   "categoryInserted", "categoryProbabilityChanged"};
        const QStringList operations{"insertParameter", "renameParameter", "deleteParameter",
                                     "insertVariable", "renameVariable", "deleteVariable",
                                     "redefineVariable", "addLikelihood", "deleteLikelihood",
                                     "renameLikelihood", "insertCategory", "deleteCategory",
                                     "setCategoryLabel", "setCategoryProbability",
                                     "setUnobservedCategory", "setUnobservedCategoryProbability"};
        for (int i = 0; i < operations.size(); ++i)
            QTest::newRow(qPrintable(operations.at(i))) << i << expected.at(i);
    }

    void everyOperationEmitsItsOneSignal()
    {
        QFETCH(int, operation);
        QFETCH(QString, signal);
        ModelDefinition model;
        model.insertParameter(0, "p");
        model.insertVariable(0, "f", "p", formula("p"));
        const int id = model.addLikelihood("L", false);
        model.insertCategory(id, "A", "p", formula("p"));
        SignalRecorder recorder(&model);
        switch (operation) {
        case 0: model.insertParameter(1, "q"); break;
        case 1: model.renameParameter(0, "r"); break;
        case 2: model.deleteParameter(0); break;
        case 3: model.insertVariable(1, "g", "2", formula("2")); break;
        case 4: model.renameVariable(0, "h"); break;
        case 5: model.deleteVariable(0); break;
        case 6: model.redefineVariable(0, "3", formula("3")); break;
        case 7: model.addLikelihood("L2", true); break;
        case 8: model.deleteLikelihood(id); break;
        case 9: model.renameLikelihood(id, "L3"); break;
        case 10: model.insertCategory(id, "B", "1-p", formula("1-p")); break;
        case 11: model.deleteCategory(id, 0); break;
        case 12: model.setCategoryLabel(id, 0, "C"); break;
        case 13: model.setCategoryProbability(id, 0, "0.5", formula("0.5")); break;
        case 14: model.setUnobservedCategory(id, "p", "0", formula("0")); break;
        case 15: model.setUnobservedCategoryProbability(id, "0.1", formula("0.1")); break;
        }
        QCOMPARE(recorder.take(), QStringList({signal}));
    }

    void signalsCarryIndexAndName()
    {
        ModelDefinition model;
        QSignalSpy inserted(&model, &ModelDefinition::parameterInserted);
        QSignalSpy renamed(&model, &ModelDefinition::variableRenamed);
        QSignalSpy deleted(&model, &ModelDefinition::parameterDeleted);
        model.insertParameter(0, "a");
        model.insertParameter(1, "b");
        model.insertVariable(0, "f", "a", formula("a"));
        model.renameVariable(0, "g");
        model.deleteParameter(1);
        QCOMPARE(QList<QVariantList>(inserted), QList<QVariantList>({{0, "a"}, {1, "b"}}));
        QCOMPARE(QList<QVariantList>(renamed), QList<QVariantList>({{0, "g"}}));
        QCOMPARE(QList<QVariantList>(deleted), QList<QVariantList>({{1}}));
    }
};

QTEST_GUILESS_MAIN(TestModelDefinition)
#include "tst_modeldefinition.moc"
