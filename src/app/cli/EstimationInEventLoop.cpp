#include "EstimationInEventLoop.h"

#include "ExitStatus.h"
#include "InterruptHandler.h"
#include "estimation/WorkspaceEstimation.h"

#include <QCoreApplication>

int estimateInEventLoop(pelk::WorkspaceEstimation &estimation, InterruptHandler &interrupt)
{
    using Outcome = pelk::WorkspaceEstimation::Outcome;
    const auto quit
        = QObject::connect(&estimation, &pelk::WorkspaceEstimation::finished, QCoreApplication::instance(),
                           &QCoreApplication::quit, Qt::QueuedConnection);
    const auto cancel = QObject::connect(&interrupt, &InterruptHandler::interrupted, &estimation,
                                         &pelk::WorkspaceEstimation::cancel);
    if (estimation.start())
        QCoreApplication::exec();
    QObject::disconnect(quit);
    QObject::disconnect(cancel);
    switch (estimation.outcome()) {
    case Outcome::Estimated:
        return ExitEstimated;
    case Outcome::ModelRefused:
        return ExitModelRefused;
    case Outcome::Canceled:
        return ExitInterrupted;
    case Outcome::Running:
    case Outcome::RunFailed:
        break;
    }
    return ExitRunFailed;
}
