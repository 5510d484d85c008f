// Runs the estimation sequence on a workspace given as text, in process,
// and waits for it to finish.
#pragma once

#include "../support/TempFiles.h"

#include "estimation/EstimationResults.h"
#include "estimation/EstimationSequence.h"
#include "estimation/ThreadRunner.h"
#include "io/PelkFileReader.h"
#include "model/Workspace.h"
#include "model/MessageSink.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

struct EstimationFixture
{
    pelk::Workspace workspace;
    pelk::EstimationResults results;
    pelk::EstimationSequence sequence;
    pelk::PlainTextSink checkMessages;
    QStringList statusLines;
    QStringList errorLines;

    explicit EstimationFixture(const QString &workspaceText)
    {
        support::TempFiles files;
        pelk::PelkFileReader().readWorkspace(files.write(QStringLiteral("workspace.txt"), workspaceText), workspace);
        QObject::connect(&sequence, &pelk::EstimationSequence::status, [this](const QString &s) { statusLines << s; });
        QObject::connect(&sequence, &pelk::EstimationSequence::error, [this](const QString &s) { errorLines << s; });
    }

    pelk::EstimationSequence::Readiness check()
    {
        return sequence.check(workspace, checkMessages);
    }

    void start()
    {
        sequence.start(workspace, results);
    }

    // Checks, starts and waits for finished(); false when the run did not
    // finish in time (a hang).
    bool run(int timeoutMs = 120000)
    {
        if (check() != pelk::EstimationSequence::Readiness::Ready)
            return false;
        QSignalSpy finished(&sequence, &pelk::EstimationSequence::finished);
        start();
        return finish(finished, timeoutMs);
    }

    // Joins the worker before any queued report is delivered, then delivers
    // them. Qt's event queue is not instrumented, so ThreadSanitizer would
    // otherwise see the reports cross threads without synchronisation; the
    // join is synchronisation it sees.
    bool finish(QSignalSpy &finished, int timeoutMs = 120000)
    {
        if (!sequence.runner()->wait(QDeadlineTimer(timeoutMs)))
            return false;
        return finished.count() > 0 || finished.wait(timeoutMs);
    }
};
