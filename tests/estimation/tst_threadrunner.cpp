// The worker thread and its units of work: the order in which reports reach
// the GUI thread, progress percentages, cancellation, reuse and shutdown.
#include "estimation/ThreadRunnable.h"
#include "estimation/ThreadRunner.h"

#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <iostream>
#include <mutex>
#include <unistd.h>

using zav::ThreadRunnable;
using zav::ThreadRunner;

namespace {

// Long enough never to matter on a loaded machine; only a lost wake-up
// reaches it, and then the test fails instead of hanging.
constexpr std::chrono::seconds kSafetyNet(30);

// Runs a fixed script of reports on the worker.
class ScriptRunnable : public ThreadRunnable
{
public:
    using Script = std::function<void(ThreadRunnable &)>;

    ScriptRunnable(ThreadRunner *runner, Script script = {})
        : ThreadRunnable(runner)
        , m_script(std::move(script))
    {
    }

    void run() override
    {
        ++runs;
        if (m_script)
            m_script(*this);
    }

    std::atomic<int> runs{0};

private:
    Script m_script;
};

// Holds the worker inside run() until its cancel flag is set, so that a
// cancel request lands while this runnable works.
class GateRunnable : public ThreadRunnable
{
public:
    // `linger` yields after the cancel keep the worker busy a little longer,
    // so that whoever does not wait for it finds it still running.
    explicit GateRunnable(ThreadRunner *runner, int linger = 0)
        : ThreadRunnable(runner)
        , m_linger(linger)
    {
    }

    void run() override
    {
        ++runs;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_entered = true;
            m_changed.notify_all();
            m_changed.wait_for(lock, kSafetyNet, [this] { return isCanceled(); });
        }
        sawCancel = isCanceled();
        for (int i = 0; i < m_linger; ++i)
            QThread::yieldCurrentThread();
        returned = true;
    }

    void setCanceled(bool canceled) override
    {
        ThreadRunnable::setCanceled(canceled);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_changed.notify_all();
    }

    // Blocks the calling thread until the worker is inside run().
    bool waitUntilEntered()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, kSafetyNet, [this] { return m_entered; });
    }

    std::atomic<int> runs{0};
    std::atomic<bool> sawCancel{false};
    std::atomic<bool> returned{false};

private:
    const int m_linger;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_entered = false;
};

// Lives on the GUI thread and writes down every runner signal as it arrives
// there, as one line per signal.
class Recorder : public QObject
{
public:
    explicit Recorder(ThreadRunner &runner)
    {
        connect(&runner, &ThreadRunner::runComplete, this, [this] { record("runComplete"); });
        connect(&runner, &ThreadRunner::runCanceled, this, [this] { record("runCanceled"); });
        connect(&runner, &ThreadRunner::percentComplete, this,
                [this](int percent) { record("percentComplete " + QString::number(percent)); });
        connect(&runner, &ThreadRunner::progressStatus, this,
                [this](const QString &text) { record("progressStatus " + text); });
        connect(&runner, &ThreadRunner::status, this, [this](const QString &text) { record("status " + text); });
        connect(&runner, &ThreadRunner::error, this, [this](const QString &text) { record("error " + text); });
        connect(&runner, &ThreadRunner::warning, this, [this](const QString &text) { record("warning " + text); });
        connect(&runner, &ThreadRunner::busy, this, [this] { record("busy"); });
    }

    bool ended() const { return events.contains("runComplete") || events.contains("runCanceled"); }

    QStringList events;
    bool deliveredOffThread = false;

private:
    void record(const QString &event)
    {
        deliveredOffThread = deliveredOffThread || QThread::currentThread() != thread();
        events << event;
    }
};

// Queued calls are only delivered once the worker has ended: by then every
// one of them is posted, so nothing can follow the end of the run unseen, and
// the event loop's next wake-up read orders all of them after the worker's
// writes. (Qt hands a queued call over through its own mutex, which
// ThreadSanitizer cannot see; processing events while the worker still posts
// would look like a race inside Qt.)
bool finishRun(ThreadRunner &runner, const Recorder &recorder)
{
    return runner.wait() && QTest::qWaitFor([&] { return recorder.ended(); });
}

void cancelAll(ThreadRunner &runner)
{
    runner.setCanceled(true);
    for (ThreadRunnable *runnable : runner.runnables())
        runnable->setCanceled(true);
}

// Runs `action` with file descriptor 1 sent to a temporary file and returns
// what reached it.
QByteArray captureStandardOutput(const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        return "cannot open a temporary file";
    std::cout.flush();
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(file.handle(), STDOUT_FILENO);
    action();
    std::cout.flush();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    QFile written(file.fileName());
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray("cannot read it back");
}

} // namespace

class TestThreadRunner : public QObject
{
    Q_OBJECT

private slots:
    void setRunnableReplacesTheListAndNullIsNeverListed()
    {
        ThreadRunner runner;
        ScriptRunnable first(&runner), second(&runner);
        runner.addRunnable(&first);
        runner.addRunnable(nullptr);
        runner.addRunnable(&second);
        QCOMPARE(runner.runnables(), QList<ThreadRunnable *>({&first, &second}));
        runner.setRunnable(&second);
        QCOMPARE(runner.runnables(), QList<ThreadRunnable *>({&second}));
        runner.setRunnable(nullptr);
        QVERIFY(runner.runnables().isEmpty());
    }

    void emptyListEmitsNothing()
    {
        ThreadRunner runner;
        Recorder recorder(runner);
        runner.start();
        QVERIFY(runner.wait());
        QCoreApplication::processEvents();
        QCOMPARE(recorder.events, QStringList());
    }

    void progressEmitsOnlyRisingPercentagesAndZero_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<QList<int>>("done");
        QTest::addColumn<QList<int>>("emitted"); // the first 0 is beginProgress's

        QTest::newRow("seven steps: 1, 1, 2")        << 7 << QList<int>{1, 1, 2}       << QList<int>{0, 14, 28};
        QTest::newRow("zero after a higher percent") << 7 << QList<int>{2, 0, 1, 4}    << QList<int>{0, 28, 0, 57};
        QTest::newRow("zero twice")                  << 7 << QList<int>{0, 0}          << QList<int>{0, 0, 0};
        QTest::newRow("three steps to the end")      << 3 << QList<int>{1, 2, 3}       << QList<int>{0, 33, 66, 100};
        QTest::newRow("no total")                    << 0 << QList<int>{0, 3}          << QList<int>{0};
        QTest::newRow("negative total")              << -5 << QList<int>{0, 1}         << QList<int>{0};
        QTest::newRow("a hundred million steps")     << 100000000 << QList<int>{50000000, 100000000}
                                                     << QList<int>{0, 50, 100};
    }

    void progressEmitsOnlyRisingPercentagesAndZero()
    {
        QFETCH(int, total);
        QFETCH(QList<int>, done);
        QFETCH(QList<int>, emitted);
        ThreadRunner runner;
        ScriptRunnable runnable(&runner);
        QSignalSpy percent(&runner, &ThreadRunner::percentComplete);
        runnable.beginProgress(total);
        for (int d : done)
            runnable.postProgress(d);
        QList<int> received;
        for (const QList<QVariant> &arguments : percent)
            received << arguments.at(0).toInt();
        QCOMPARE(received, emitted);
    }

    void beginProgressRestartsTheCount()
    {
        ThreadRunner runner;
        ScriptRunnable runnable(&runner);
        QSignalSpy percent(&runner, &ThreadRunner::percentComplete);
        runnable.beginProgress(4);
        runnable.postProgress(4);
        runnable.beginProgress(8);
        runnable.postProgress(2);
        QCOMPARE(QList<QVariantList>(percent), QList<QVariantList>({{0}, {100}, {0}, {25}}));
    }

    void errorWithoutRunnerGoesToStandardOutput_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("printed");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("ascii") << QString("Covariance matrix estimation failed.")
                               << QByteArray("**** Covariance matrix estimation failed.\n")
                               << QByteArray("Covariance matrix estimation failed.");
        QTest::newRow("latin-1 letter") << QString::fromUtf8("Sch\u00e4tzung")
                                        << QByteArray("**** Sch\xc3\xa4tzung\n") << QByteArray("Sch\xe4tzung");
    }

    void errorWithoutRunnerGoesToStandardOutput()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, printed);
        QFETCH(QByteArray, stored);
        ScriptRunnable runnable(nullptr);
        // Everything else is dropped without a runner: only the error line shows.
        const QByteArray output = captureStandardOutput([&] {
            runnable.postStatus("status");
            runnable.postProgressStatus("progress");
            runnable.postWarning("warning");
            runnable.beginProgress(2);
            runnable.postProgress(1);
            runnable.postBusy();
            runnable.postError(text);
        });
        QCOMPARE(output, printed);
        QCOMPARE(runnable.errorMessage(), stored);
    }

    void errorWithRunnerIsStoredAndEmitted()
    {
        ThreadRunner runner;
        ScriptRunnable runnable(&runner);
        QSignalSpy error(&runner, &ThreadRunner::error);
        const QByteArray output = captureStandardOutput([&] { runnable.postError(QString::fromUtf8("\u00b5 < 0")); });
        QCOMPARE(output, QByteArray());
        QCOMPARE(QList<QVariantList>(error), QList<QVariantList>({{QString::fromUtf8("\u00b5 < 0")}}));
        QCOMPARE(runner.errorMessage(), QByteArray("\xb5 < 0"));
        QCOMPARE(runnable.errorMessage(), QByteArray("\xb5 < 0"));
        runner.clearErrorMessage();
        QVERIFY(runner.errorMessage().isEmpty());
        QCOMPARE(error.count(), 1);
    }

    void cancelOfARunnableAlsoCancelsItsRunnerSilently()
    {
        ThreadRunner runner;
        Recorder recorder(runner);
        ScriptRunnable runnable(&runner);
        runnable.setCanceled(true);
        QVERIFY(runnable.isCanceled() && zav::isCancelled(runnable.cancelFlag()));
        QVERIFY(runner.isCanceled());
        runnable.setCanceled(false);
        QVERIFY(!runnable.isCanceled());
        QVERIFY(!runner.isCanceled());
        runner.cancel();
        QVERIFY(runner.isCanceled());
        QVERIFY(!runnable.isCanceled());
        QCOMPARE(recorder.events, QStringList());
    }

    void reportsReachTheGuiThreadInOrderPastAnError()
    {
        ThreadRunner runner;
        Recorder recorder(runner);
        ScriptRunnable first(&runner, [](ThreadRunnable &r) {
            r.postStatus("Estimating parameters...");
            r.postProgressStatus("pass 1");
            r.beginProgress(4);
            r.postProgress(1);
            r.postProgress(1);
            r.postProgress(3);
            r.postWarning("slow convergence");
            r.postBusy();
            r.postError("Too many iterations in powell");
        });
        ScriptRunnable second(&runner, [](ThreadRunnable &r) { r.postStatus("second"); });
        runner.setRunnable(&first);
        runner.addRunnable(&second);
        runner.start();
        QVERIFY(finishRun(runner, recorder));
        const QStringList expected = {"status Estimating parameters...",
                                      "progressStatus pass 1",
                                      "percentComplete 0",
                                      "percentComplete 25",
                                      "percentComplete 75",
                                      "warning slow convergence",
                                      "busy",
                                      "error Too many iterations in powell",
                                      "status second",
                                      "runComplete"};
        QCOMPARE(recorder.events, expected);
        QVERIFY(!recorder.deliveredOffThread);
        QCOMPARE(runner.errorMessage(), QByteArray("Too many iterations in powell"));
    }

    void cancelWhileARunnableWorksStopsTheRest_data()
    {
        QTest::addColumn<int>("working"); // which of three runnables is at work when the cancel comes
        QTest::newRow("first of three") << 0;
        QTest::newRow("middle of three") << 1;
        QTest::newRow("last of three") << 2;
    }

    void cancelWhileARunnableWorksStopsTheRest()
    {
        QFETCH(int, working);
        ThreadRunner runner;
        Recorder recorder(runner);
        GateRunnable gate(&runner);
        ScriptRunnable before(&runner, [](ThreadRunnable &r) { r.postStatus("before"); });
        ScriptRunnable after(&runner, [](ThreadRunnable &r) { r.postStatus("after"); });
        for (int i = 0; i < 3; ++i)
            runner.addRunnable(i < working ? &before : i == working ? static_cast<ThreadRunnable *>(&gate) : &after);

        runner.start();
        QVERIFY(gate.waitUntilEntered());
        cancelAll(runner);
        QVERIFY(finishRun(runner, recorder));

        QVERIFY(gate.sawCancel);
        QCOMPARE(gate.runs.load(), 1);
        QCOMPARE(before.runs.load(), working);
        QCOMPARE(after.runs.load(), 0);
        QStringList expected;
        for (int i = 0; i < working; ++i)
            expected << "status before";
        expected << "runCanceled";
        QCOMPARE(recorder.events, expected);
    }

    void runnerIsReusedAfterACanceledRun()
    {
        ThreadRunner runner;
        Recorder recorder(runner);
        GateRunnable gate(&runner);
        runner.setRunnable(&gate);
        runner.start();
        QVERIFY(gate.waitUntilEntered());
        cancelAll(runner);
        QVERIFY(finishRun(runner, recorder));
        QVERIFY(runner.isCanceled());

        // The runner's own flag is still set: the new run must clear it itself.
        ScriptRunnable next(&runner, [](ThreadRunnable &r) { r.postStatus("second run"); });
        runner.setRunnable(&next);
        recorder.events.clear();
        runner.start();
        QVERIFY(finishRun(runner, recorder));
        QCOMPARE(recorder.events, QStringList({"status second run", "runComplete"}));
        QCOMPARE(next.runs.load(), 1);
        QCOMPARE(gate.runs.load(), 1);
    }

    void destructorStopsARunningWorker()
    {
        auto *runner = new ThreadRunner;
        GateRunnable gate(runner, 1000);
        ScriptRunnable after(runner);
        runner->setRunnable(&gate);
        runner->addRunnable(&after);
        runner->start();
        QVERIFY(gate.waitUntilEntered());
        // Destroying a QThread that still runs aborts the process.
        delete runner;
        QVERIFY(gate.sawCancel);
        QVERIFY(gate.returned);
        QCOMPARE(after.runs.load(), 0);
    }
};

QTEST_GUILESS_MAIN(TestThreadRunner)
#include "tst_threadrunner.moc"
