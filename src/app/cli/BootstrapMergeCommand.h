// `pelk-cli bootstrap-merge [--json] FILES...`: reads the JSON shards that
// `pelk-cli bootstrap --shard I/M --json` wrote and prints the result of the
// whole run (BootstrapShardMerge), or refuses, naming the offending file.
#pragma once

#include <QStringList>

class BootstrapMergeCommand
{
public:
    // `arguments` are those after the word "bootstrap-merge". Returns the exit status.
    static int run(const QStringList &arguments);
    static QString usage();
};
