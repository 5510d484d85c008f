#include "compare/ModelSetEstimator.h"

#include "estimation/EstimationLog.h"
#include "estimation/WorkspaceEstimation.h"
#include "expr/ParseError.h"
#include "io/PelkFileReader.h"
#include "io/SummaryJsonWriter.h"
#include "model/Workspace.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QThread>

namespace pelk {

struct ModelSetEstimator::Item
{
    QString fileName;
    std::unique_ptr<Workspace> workspace; // until its run ends
    std::unique_ptr<EstimationLog> log;
    std::unique_ptr<WorkspaceEstimation> estimation;
    std::optional<ModelRecord> record;
    QString problem;

    QString name() const { return QFileInfo(fileName).completeBaseName(); }
    void setRecord(const QJsonObject &json)
    {
        record = ModelRecord::fromJson(json, name(), &problem);
        if (record)
            record->fileName = fileName;
    }
};

ModelSetEstimator::ModelSetEstimator(QObject *parent) : QObject(parent) {}

ModelSetEstimator::~ModelSetEstimator()
{
    // Each run's destructor waits for its worker.
    cancel();
}

void ModelSetEstimator::start(const QStringList &fileNames)
{
    m_items.clear();
    m_next = m_done = m_running = 0;
    m_canceled = false;
    for (const QString &fileName : fileNames) {
        auto item = std::make_unique<Item>();
        item->fileName = fileName;
        QFile file(fileName);
        // A document of `pelk-cli estimate --json` is one object; a
        // workspace file never starts with a brace.
        if (file.open(QIODevice::ReadOnly) && file.peek(4096).trimmed().startsWith('{')) {
            QJsonParseError error;
            const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
            if (document.isObject())
                item->setRecord(document.object());
            else
                item->problem = QStringLiteral("%1: not a JSON document (%2)").arg(fileName, error.errorString());
        } else {
            item->workspace = std::make_unique<Workspace>();
            try {
                PelkFileReader().readWorkspace(fileName, *item->workspace);
            } catch (const zav::ParseError &error) {
                item->problem = error.description();
                item->workspace.reset();
            }
        }
        m_items.push_back(std::move(item));
    }
    const int runs = m_concurrency > 0 ? m_concurrency : std::max(1, QThread::idealThreadCount());
    for (int i = 0; i < runs; ++i)
        startNext();
    if (!isRunning())
        emit finished();
}

void ModelSetEstimator::startNext()
{
    // Items that need no run are done as the queue passes them.
    while (m_next < qsizetype(m_items.size())) {
        Item *item = m_items.at(std::size_t(m_next++)).get();
        if (!item->workspace || m_canceled) {
            if (m_canceled && item->workspace) {
                item->problem = QStringLiteral("%1: canceled").arg(item->fileName);
                item->workspace.reset();
            }
            itemDone();
            continue;
        }
        item->workspace->dropProfileRequests();
        item->log = std::make_unique<EstimationLog>();
        item->estimation = std::make_unique<WorkspaceEstimation>(*item->workspace, *item->log);
        // Queued: the run is deleted when it ends, not inside its signal.
        connect(item->estimation.get(), &WorkspaceEstimation::finished, this,
                [this, item] { onEstimationFinished(item); }, Qt::QueuedConnection);
        if (item->estimation->start()) {
            ++m_running;
            return;
        }
        onEstimationFinished(item);
    }
}

void ModelSetEstimator::onEstimationFinished(Item *item)
{
    const bool wasRunning = item->estimation->outcome() != WorkspaceEstimation::Outcome::ModelRefused;
    SummaryJsonWriter::Run run = item->estimation->run();
    run.name = item->name();
    item->setRecord(SummaryJsonWriter::write(run, item->estimation->summary()));
    if (!item->record && item->estimation->outcome() == WorkspaceEstimation::Outcome::Canceled)
        item->problem = QStringLiteral("%1: canceled").arg(item->fileName);
    else if (!item->record)
        item->problem = QStringLiteral("%1: %2").arg(item->fileName, item->problem);
    item->estimation.reset();
    item->log.reset();
    item->workspace.reset();
    itemDone();
    if (wasRunning) {
        --m_running;
        startNext();
        if (!isRunning())
            emit finished();
    }
}

void ModelSetEstimator::itemDone()
{
    emit progress(++m_done, int(m_items.size()));
}

void ModelSetEstimator::cancel()
{
    m_canceled = true;
    for (const auto &item : m_items)
        if (item->estimation)
            item->estimation->cancel();
}

QList<ModelRecord> ModelSetEstimator::records() const
{
    QList<ModelRecord> records;
    for (const auto &item : m_items)
        if (item->record)
            records.append(*item->record);
    return records;
}

QStringList ModelSetEstimator::problems() const
{
    QStringList problems;
    for (const auto &item : m_items)
        if (!item->record)
            problems.append(item->problem);
    return problems;
}

} // namespace pelk
