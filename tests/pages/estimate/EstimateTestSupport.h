// Workspaces and log inspection shared by the tests of the Estimate and
// Verify pages.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace estimatetest {

struct Binomial
{
    QString parameters = "p";
    QString variables = "odds = p/(1-p)";
    QString success = "p";
    QString failure = "1-p";
    QString seeds = "p = 0.5";
    QString covariance = "yes";
    QString extraLikelihoods;
};

// One multinomial likelihood "Trials" over 30 successes and 70 failures,
// Powell's method, no profile requests.
inline QString binomialWorkspace(const Binomial &b = Binomial())
{
    return "parameters\n" + b.parameters + ";\n\nvariables\n" + b.variables + ";\n\nlikelihood \"Trials\"\nsuccess, "
         + b.success + ",\nfailure, " + b.failure + ";\n" + b.extraLikelihoods
         + "\noptimizer\npowell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = " + b.covariance
         + ";\n\nparameterSeeds\n" + b.seeds + ";\n\nprofileLikelihoodRequests;\n\nsuccess : 30\nfailure : 70\n";
}

// The lines of a log, without the empty one after the last line end.
inline QStringList lines(const QTextDocument *document)
{
    QStringList result = document->toPlainText().split('\n');
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

// The characters written bold (or not), in order, without line ends.
inline QString textOfWeight(const QTextDocument *document, bool bold)
{
    QString text;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if ((it.fragment().charFormat().fontWeight() >= QFont::Bold) == bold)
                text += it.fragment().text();
    return text;
}

} // namespace estimatetest
