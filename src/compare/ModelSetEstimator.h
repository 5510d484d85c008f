// The records of a set of models, each from a file: a workspace, estimated
// in this process, or the JSON document that `pelk-cli estimate --json`
// printed, estimated elsewhere (one scheduler job per model). A workspace's
// run is turned into that same document before it becomes a record, so
// both kinds go through one reader. Several workspaces run at once (one per
// core by default), each with its own workspace, optimizer and worker
// thread, reporting through the event loop of the thread that owns this
// object. A comparison shows no profile-likelihood intervals, so the
// workspaces' requests are dropped rather than searched.
//
// A model is named by its file's base name (a document's own "name" when
// it has one: the workspace it was estimated from).
#pragma once

#include "compare/ModelRecord.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace pelk {

class ModelSetEstimator : public QObject
{
    Q_OBJECT

public:
    explicit ModelSetEstimator(QObject *parent = nullptr);
    ~ModelSetEstimator() override;

    // Runs at once; 0 (the default) for one per core.
    void setConcurrency(int runs) { m_concurrency = runs; }

    // Reads every file and starts the runs; finished() follows, also when
    // no workspace needs a run. Not while running.
    void start(const QStringList &fileNames);
    // Stops the runs at their next check and starts no more.
    void cancel();
    bool isRunning() const { return m_running > 0 || m_next < qsizetype(m_items.size()); }
    bool isCanceled() const { return m_canceled; }

    // After finished(): the records, in the order of the files, or, when a
    // file gave none, the reasons, one line per file.
    QList<ModelRecord> records() const;
    QStringList problems() const;

signals:
    // Another file has its record or its problem.
    void progress(int done, int total);
    void finished();

private:
    struct Item;
    void startNext();
    void onEstimationFinished(Item *item);
    void itemDone();

    std::vector<std::unique_ptr<Item>> m_items;
    qsizetype m_next = 0; // the first item not yet started
    int m_running = 0;
    int m_done = 0;
    int m_concurrency = 0;
    bool m_canceled = false;
};

} // namespace pelk
