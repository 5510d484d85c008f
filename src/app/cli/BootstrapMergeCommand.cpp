#include "BootstrapMergeCommand.h"

#include "ExitStatus.h"
#include "estimation/BootstrapShardMerge.h"
#include "io/BootstrapJsonReader.h"
#include "io/BootstrapJsonWriter.h"
#include "io/BootstrapTextWriter.h"

#include <QJsonDocument>
#include <QTextStream>

QString BootstrapMergeCommand::usage()
{
    return QStringLiteral("usage: pelk-cli bootstrap-merge [--json] FILES...\n");
}

int BootstrapMergeCommand::run(const QStringList &arguments)
{
    bool json = false;
    QStringList files;
    for (const QString &argument : arguments) {
        if (argument == u"--json") {
            json = true;
        } else if (argument.startsWith(u'-')) {
            QTextStream(stderr) << "pelk-cli bootstrap-merge: unexpected argument \"" << argument << "\"\n"
                                << usage();
            return ExitUsage;
        } else {
            files << argument;
        }
    }
    if (files.isEmpty()) {
        QTextStream(stderr) << "pelk-cli bootstrap-merge: no files named\n" << usage();
        return ExitUsage;
    }
    QList<pelk::BootstrapShardMerge::Shard> shards;
    QString error;
    for (const QString &file : std::as_const(files)) {
        auto result = pelk::BootstrapJsonReader::readFile(file, error);
        if (!result) {
            QTextStream(stderr) << "pelk-cli bootstrap-merge: " << error << '\n';
            return ExitUnreadable;
        }
        shards.append({file, std::move(*result)});
    }
    const auto merged = pelk::BootstrapShardMerge::merge(shards, error);
    if (!merged) {
        QTextStream(stderr) << "pelk-cli bootstrap-merge: " << error << '\n';
        return ExitShardsRefused;
    }
    QTextStream out(stdout);
    if (json)
        out << QJsonDocument(pelk::BootstrapJsonWriter::write(*merged)).toJson(QJsonDocument::Indented);
    else
        out << pelk::BootstrapTextWriter::write(*merged);
    return ExitEstimated;
}
