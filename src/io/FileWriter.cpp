#include "io/FileWriter.h"

#include "io/OptimizerKeyword.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "model/Workspace.h"
#include "optim/OptimizerSettings.h"

#include <QTextStream>

namespace pelk {

namespace {

QString yesNo(bool flag)
{
    return flag ? QStringLiteral("yes") : QStringLiteral("no");
}

QString settingText(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

FileWriter::FileWriter(QTextStream *stream) : m_stream(stream) {}

// "\n" rather than Qt::endl: the same line end without a flush per line.
void FileWriter::endLine()
{
    *m_stream << '\n';
}

void FileWriter::writeParameters(const ModelDefinition &model)
{
    *m_stream << "parameters";
    if (model.parameterCount() == 0) {
        *m_stream << ';';
        endLine();
        return;
    }
    endLine();
    *m_stream << model.parameterNames().join(QStringLiteral(", ")) << ';';
    endLine();
}

void FileWriter::writeVariables(const ModelDefinition &model)
{
    endLine();
    *m_stream << "variables";
    if (model.variableCount() == 0) {
        *m_stream << ';';
        endLine();
        return;
    }
    endLine();
    QStringList definitions;
    for (int i = 0; i < model.variableCount(); ++i)
        definitions.append(model.variableDefinition(i));
    writeAssignments(model.variableNames(), definitions);
}

void FileWriter::writeLikelihoods(const ModelDefinition &model)
{
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        if (model.isMultinomial(id))
            writeMultinomialLikelihood(model, id);
        else
            writeNormalLikelihood(model, id);
    }
}

void FileWriter::writeMultinomialLikelihood(const ModelDefinition &model, int id)
{
    endLine();
    *m_stream << "likelihood \"" << model.likelihoodName(id) << '"';
    const int count = model.categoryCount(id);
    const bool unobserved = model.hasUnobservedCategory(id);
    if (count == 0 && !unobserved) {
        *m_stream << ';';
        endLine();
        return;
    }
    endLine();
    for (int i = 0; i < count; ++i) {
        *m_stream << model.categoryLabel(id, i) << ", " << model.categoryProbability(id, i);
        if (i + 1 < count) {
            *m_stream << ',';
            endLine();
        }
    }
    if (unobserved) {
        // Without regular categories the unobserved one opens the list, so
        // it is still written (and read back) rather than lost.
        if (count > 0) {
            *m_stream << ',';
            endLine();
        }
        *m_stream << ", " << model.categoryProbability(id, count) << ", " << model.abundanceSymbolName(id);
    }
    *m_stream << ';';
    endLine();
}

void FileWriter::writeNormalLikelihood(const ModelDefinition &model, int id)
{
    endLine();
    *m_stream << "normalLikelihood \"" << model.likelihoodName(id) << '"';
    endLine();
    *m_stream << "observed, " << model.observed(id) << ',';
    endLine();
    *m_stream << "expected, " << model.expected(id) << ',';
    endLine();
    *m_stream << "standardError, " << model.standardError(id) << ';';
    endLine();
}

void FileWriter::writeAssignments(const QStringList &names, const QStringList &values)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        *m_stream << names.at(i) << " = " << values.value(i) << (i + 1 < names.size() ? ',' : ';');
        endLine();
    }
}

void FileWriter::writeModelDefinition(const ModelDefinition &model)
{
    writeParameters(model);
    writeVariables(model);
    writeLikelihoods(model);
}

void FileWriter::writeCategoryCounts(const QMap<QString, int> &categoryCounts)
{
    endLine();
    for (auto it = categoryCounts.begin(); it != categoryCounts.end(); ++it) {
        *m_stream << it.key() << " : " << it.value();
        endLine();
    }
}

// The map keeps the counts of categories deleted from the model; reading a
// workspace accepts only labels of the model, so those are left out.
void FileWriter::writeCategoryCounts(const QMap<QString, int> &categoryCounts, const ModelDefinition &model)
{
    QMap<QString, int> used;
    for (auto it = categoryCounts.begin(); it != categoryCounts.end(); ++it)
        if (model.isCategoryLabelUsed(it.key()))
            used.insert(it.key(), it.value());
    writeCategoryCounts(used);
}

void FileWriter::writeParameterSeeds(const ModelDefinition &model, const std::vector<double> &seeds)
{
    endLine();
    *m_stream << "parameterSeeds";
    // An empty section reads back as one: "parameterSeeds;".
    if (model.parameterCount() == 0) {
        *m_stream << ';';
        endLine();
        return;
    }
    endLine();
    QStringList values;
    for (int i = 0; i < model.parameterCount(); ++i) {
        // A seeds vector out of step with the parameters gives 0 for the
        // missing entries instead of being read past its end.
        const double seed = std::size_t(i) < seeds.size() ? seeds[std::size_t(i)] : 0.0;
        values.append(QString::number(seed, 'g', 15));
    }
    writeAssignments(model.parameterNames(), values);
}

void FileWriter::writeProfileLikelihoodRequests(const ModelDefinition &model,
                                                const ProfileLikelihoods &parameterRequests,
                                                const ProfileLikelihoods &variableRequests)
{
    const QStringList &levels = ProfileLikelihoods::alphaLevels();
    QStringList names;
    QStringList values;
    auto collect = [&](const ProfileLikelihoods &requests, const QStringList &symbols) {
        for (qsizetype index = 0; index < symbols.size(); ++index)
            for (qsizetype level = 0; level < levels.size(); ++level)
                if (requests.isRequested(int(index), int(level))) {
                    names.append(symbols.at(index));
                    values.append(levels.at(level));
                }
    };
    collect(parameterRequests, model.parameterNames());
    collect(variableRequests, model.variableNames());

    endLine();
    *m_stream << "profileLikelihoodRequests";
    // Decided by what is written, not by the containers: a request whose
    // index is outside the model is not written, and an entry list must
    // never be empty.
    if (names.isEmpty()) {
        *m_stream << ';';
        endLine();
        return;
    }
    endLine();
    writeAssignments(names, values);
    endLine();
}

void FileWriter::writeOptimizerSettings(bool usePreviousEstimatesAsSeeds, bool calculateCovariance,
                                        const zav::OptimizerSettings &optimizer)
{
    endLine();
    *m_stream << "optimizer";
    endLine();
    if (optimizer.type == zav::OptimizerFactory::NoOptimizer)
        return;
    // The first option follows the method on the same line.
    *m_stream << optimizerKeyword(optimizer.type) << ", ";
    QStringList names {QStringLiteral("usePreviousEstimatesAsSeeds"), QStringLiteral("calculateCovariance")};
    QStringList values {yesNo(usePreviousEstimatesAsSeeds), yesNo(calculateCovariance)};
    switch (optimizer.type) {
    case zav::OptimizerFactory::Fletch: {
        const zav::FletchSettings &settings = optimizer.fletch;
        names << QStringLiteral("maxIterations") << QStringLiteral("precision") << QStringLiteral("stepSize");
        values << QString::number(settings.maxIterations) << settingText(settings.precision)
               << settingText(settings.stepSize);
        break;
    }
    case zav::OptimizerFactory::Simplex: {
        const zav::SimplexSettings &settings = optimizer.simplex;
        names << QStringLiteral("fractionalTolerance") << QStringLiteral("maxFuncEvaluations")
              << QStringLiteral("stepSize");
        values << settingText(settings.fractionalTolerance) << QString::number(settings.maxFuncEvaluations)
               << settingText(settings.stepSize);
        break;
    }
    case zav::OptimizerFactory::Powell: // no settings of its own
    case zav::OptimizerFactory::NoOptimizer:
        break;
    }
    writeAssignments(names, values);
}

void FileWriter::writeWorkspace(const Workspace &workspace)
{
    writeModelDefinition(workspace.model);
    writeOptimizerSettings(workspace.usePreviousEstimatesAsSeeds, workspace.calculateCovariance,
                           workspace.optimizer);
    writeParameterSeeds(workspace.model, workspace.seeds);
    writeProfileLikelihoodRequests(workspace.model, workspace.parameterRequests, workspace.variableRequests);
    writeCategoryCounts(workspace.categoryCounts, workspace.model);
}

} // namespace pelk
