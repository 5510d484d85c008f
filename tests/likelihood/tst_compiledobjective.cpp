// The compiled objective against the formula trees it is compiled from:
// the same value bit for bit (the same verdict at unusable points), an
// exact gradient (against central differences and against the trees' own
// derivatives), and shared work (each distinct subtree computed once).
#include "../support/CaptureRecaptureWorkspace.h"
#include "../support/TempFiles.h"
#include "TestModel.h"

#include "io/PelkFileReader.h"
#include "likelihood/FormulaCompiler.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "model/MessageSink.h"
#include "model/ModelValidator.h"
#include "model/Workspace.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

std::unique_ptr<pelk::Workspace> workspaceFrom(const QString &path)
{
    auto workspace = std::make_unique<pelk::Workspace>();
    pelk::PelkFileReader().readWorkspace(path, *workspace);
    pelk::PlainTextSink sink;
    if (!pelk::validate(workspace->model, sink))
        qFatal("invalid workspace %s", qPrintable(path));
    return workspace;
}

// The objective evaluated on the trees, the model's own definition.
double treeObjective(const pelk::ModelDefinition &model, const pelk::LikelihoodTerms &terms,
                     const std::vector<double> &x)
{
    model.pointParametersAt(&x);
    return terms.negativeLogLikelihood([&](int k) { return terms.formulas()[std::size_t(k)]->evaluate(); });
}

// The gradient by the chain rule over the trees' numeric derivatives; NaN
// by a parameter the trees cannot differentiate by (u^v with it on both
// sides).
std::vector<double> treeGradient(const pelk::ModelDefinition &model, const pelk::LikelihoodTerms &terms,
                                 const std::vector<double> &x)
{
    model.pointParametersAt(&x);
    std::vector<double> gradient(std::size_t(model.parameterCount()), 0.0);
    const auto value = [&](int k) { return terms.formulas()[std::size_t(k)]->evaluate(); };
    terms.addGradientSeeds(value, [&](int k, double seed) {
        const zav::Equation *formula = terms.formulas()[std::size_t(k)];
        for (int i = 0; i < model.parameterCount(); ++i) {
            const QString name = model.parameterName(i);
            gradient[std::size_t(i)] += formula->isDifferentiable(name)
                ? seed * formula->derivativeValue(name)
                : std::numeric_limits<double>::quiet_NaN();
        }
    });
    return gradient;
}

// (f(x + h e_i) - f(x - h e_i)) / 2h with h relative to x_i.
template<typename F>
double centralDifference(F &&f, std::vector<double> x, std::size_t i)
{
    const double step = 1e-6 * std::max(1.0, std::abs(x[i])), xi = x[i];
    x[i] = xi + step;
    const double up = f(x);
    x[i] = xi - step;
    return (up - f(x)) / (2 * step);
}

bool agree(double exact, double difference)
{
    return std::abs(exact - difference) <= 1e-5 * std::max(1.0, std::abs(difference));
}

} // namespace

class TestCompiledObjective : public QObject
{
    Q_OBJECT

    std::vector<std::unique_ptr<pelk::Workspace>> m_workspaces;
    support::TempFiles m_files;

private slots:
    void formulaOutputsEqualTheTrees_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::newRow("sum of products") << "a + b * c - a / b";
        QTest::newRow("u^v with a on both sides") << "a ^ (a * b)";
        QTest::newRow("functions") << "exp(a) * log(b) - invLogit(c)";
        QTest::newRow("negation and a folded constant") << "-(2 ^ 3 * a) + 1 / 4";
        QTest::newRow("a convenience function twice") << "f * f + f";
        QTest::newRow("division by zero at a = b") << "1 / (a - b)";
        QTest::newRow("log of a negative number") << "log(c - 10)";
        QTest::newRow("invLogit overflows to NaN") << "invLogit(1000 * a)";
    }

    // Each formula at points where it is finite, infinite and NaN; where it is
    // finite, its gradient too.
    void formulaOutputsEqualTheTrees()
    {
        QFETCH(QString, formula);
        TestModel model({"a", "b", "c"});
        model.addFunction("f", "a * b + c");
        model.addFunction("g", formula);
        const pelk::ModelDefinition &bound = model.bound();
        pelk::FormulaCompiler compiler(3);
        compiler.addOutput(bound.variableEquation(1));
        const pelk::FormulaProgram program = compiler.program();
        std::vector<double> values = program.initialSlots();
        std::mt19937 random(7);
        std::uniform_real_distribution<double> coordinate(-3.0, 3.0);
        std::vector<std::vector<double>> points{{1.0, 1.0, 0.5}, {0.0, 0.0, 0.0}, {2.0, 3.0, 11.0}};
        for (int i = 0; i < 50; ++i)
            points.push_back({coordinate(random), coordinate(random), coordinate(random)});
        for (const auto &x : points) {
            program.evaluate(x.data(), values.data());
            bound.pointParametersAt(&x);
            const double tree = bound.variableEquation(1)->evaluate();
            const double compiled = values[std::size_t(program.outputSlot(0))];
            QVERIFY2(sameBits(compiled, tree), qPrintable(QStringLiteral("%1 vs %2").arg(compiled).arg(tree)));
            // The reverse sweep against central differences of the program,
            // away from the origin (where 0^0 has no derivative).
            if (!std::isfinite(compiled) || x == points[1])
                continue;
            std::vector<double> adjoints(values.size(), 0.0);
            adjoints[std::size_t(program.outputSlot(0))] = 1.0;
            program.accumulateAdjoints(values.data(), adjoints.data());
            const auto value = [&](const std::vector<double> &point) {
                program.evaluate(point.data(), values.data());
                return values[std::size_t(program.outputSlot(0))];
            };
            for (std::size_t i = 0; i < 3; ++i) {
                const double difference = centralDifference(value, x, i);
                QVERIFY2(!std::isfinite(difference) || agree(adjoints[i], difference), qPrintable(QString::number(i)));
            }
        }
    }

    void objectiveEqualsTheTreesOnEveryWorkspace_data()
    {
        QTest::addColumn<int>("workspace");
        // A multinomial and a normal likelihood whose standard error and
        // probabilities are u^v with a parameter on both sides.
        const QString mixed = QStringLiteral(
            "parameters\nmu, s, p;\n\nvariables\nw = p ^ (p * s);\n\nlikelihood \"Coin\"\nyes, w,\nno, 1 - w;\n\n"
            "normalLikelihood \"Size\"\nobserved, 12.5,\nexpected, 10 * mu,\nstandardError, s ^ s;\n\n"
            "optimizer\npowell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes;\n\nparameterSeeds\nmu = 1.1,\ns = 0.8,\np = 0.4;\n\n"
            "profileLikelihoodRequests;\n\nyes : 3\nno : 5\n");
        // The format sample is unusable at every point tried (its abundance
        // lies below the observed total): the verdicts must still agree.
        const QStringList paths{QStringLiteral(PELK_EXAMPLES_DIR "/two-sample-capture.txt"),
                                QStringLiteral(PELK_EXAMPLES_DIR "/format-sample.txt"),
                                m_files.write(QStringLiteral("mixed.txt"), mixed),
                                m_files.write(QStringLiteral("m5.txt"), support::captureRecaptureWorkspace(5))};
        m_workspaces.clear();
        for (const QString &path : paths) {
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << int(m_workspaces.size());
            m_workspaces.push_back(workspaceFrom(path));
        }
    }

    // At the seeds and at random points around them (many of them unusable:
    // probabilities outside [0, 1], abundances below the observed total): the
    // same value or verdict; where usable, the exact gradient agrees with the
    // trees' derivatives and with central differences.
    void objectiveEqualsTheTreesOnEveryWorkspace()
    {
        QFETCH(int, workspace);
        const pelk::Workspace &w = *m_workspaces[std::size_t(workspace)];
        const pelk::ModelDefinition &model = w.model;
        pelk::PelkLikelihoodFunc function(model, w.categoryCounts);
        const pelk::LikelihoodTerms &terms = function.terms();
        std::vector<double> seeds = w.seeds;
        seeds.resize(std::size_t(model.parameterCount()), 0.5);
        std::mt19937 random(11);
        std::uniform_real_distribution<double> factor(0.4, 1.6);
        int usable = 0;
        for (int trial = 0; trial < 200; ++trial) {
            std::vector<double> x = seeds;
            if (trial > 0)
                for (double &xi : x)
                    xi *= factor(random);
            const double compiled = function(x);
            QVERIFY2(sameBits(compiled, treeObjective(model, terms, x)), qPrintable(QString::number(trial)));
            if (!zav::isUsable(compiled) || usable >= 20)
                continue;
            ++usable;
            std::vector<double> gradient;
            QVERIFY(sameBits(function.valueAndGradient(x, gradient), compiled));
            const std::vector<double> fromTrees = treeGradient(model, terms, x);
            for (std::size_t i = 0; i < gradient.size(); ++i) {
                const double g = gradient[i];
                QVERIFY(std::isnan(fromTrees[i]) || std::abs(g - fromTrees[i]) <= 1e-9 * std::max(1.0, std::abs(g)));
                QVERIFY(agree(g, centralDifference(function, x, i)));
            }
        }
        QCOMPARE(usable > 0, !QByteArray(QTest::currentDataTag()).startsWith("format"));
    }

    // The 10-occasion capture-recapture model: invLogit(a_j) and 1 - p_j once
    // each, and one product per distinct prefix (of two factors or more) of
    // the counted histories' factor lists and of the unobserved category's.
    void sharedSubtreesAreComputedOnce()
    {
        constexpr int occasions = 10;
        const auto w = workspaceFrom(
            m_files.write(QStringLiteral("m10.txt"), support::captureRecaptureWorkspace(occasions)));
        const pelk::PelkLikelihoodFunc function(w->model, w->categoryCounts);
        std::set<QString> prefixes;
        const auto addPrefixes = [&](const QString &factors) {
            for (int length = 2; length <= occasions; ++length)
                prefixes.insert(factors.left(length));
        };
        addPrefixes(QString(occasions, u'0'));
        for (auto it = w->categoryCounts.cbegin(); it != w->categoryCounts.cend(); ++it)
            if (it.value() > 0)
                addPrefixes(it.key());
        QCOMPARE(function.program().instructionCount(), 2 * occasions + int(prefixes.size()));
    }

    // Counts with every third category emptied, then the full counts of the
    // same model: a copy of a program of every category shares it, a copy of a
    // program of the counted categories compiles its own; both equal an
    // objective built on the full counts from the start.
    void copiesOnOtherCountsShareTheProgram()
    {
        const auto w = workspaceFrom(m_files.write(QStringLiteral("m5b.txt"), support::captureRecaptureWorkspace(5)));
        const QMap<QString, int> other = w->categoryCounts;
        QMap<QString, int> base = other;
        int i = 0;
        for (auto it = base.begin(); it != base.end(); ++it)
            if (i++ % 3 == 0)
                it.value() = 0;
        pelk::PelkLikelihoodFunc fresh(w->model, other);
        std::vector<double> expected, gradient;
        const double value = fresh.valueAndGradient(w->seeds, expected);

        const pelk::PelkLikelihoodFunc every(w->model, base, true);
        pelk::PelkLikelihoodFunc shared = every.withCounts(w->model, other);
        QCOMPARE(&shared.program(), &every.program());
        QVERIFY(sameBits(shared.valueAndGradient(w->seeds, gradient), value));
        QCOMPARE(gradient, expected);

        const pelk::PelkLikelihoodFunc counted(w->model, base);
        pelk::PelkLikelihoodFunc own = counted.withCounts(w->model, other);
        QVERIFY(&own.program() != &counted.program());
        QVERIFY(sameBits(own(w->seeds), value));
    }
};

QTEST_GUILESS_MAIN(TestCompiledObjective)
#include "tst_compiledobjective.moc"
