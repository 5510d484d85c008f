// `pelk-cli bootstrap [--replicates B] [--seed S] [--shard I/M] [--threads T]
// [--json] WORKSPACE`: estimates the parameters as `pelk-cli estimate` does
// (its log on standard error), then runs the parametric bootstrap of the
// fit on every core and prints the result (plain text, or JSON). With
// --shard only the I-th of M contiguous blocks of replicate numbers is
// computed, for `pelk-cli bootstrap-merge` to combine.
#pragma once

#include <QStringList>

class BootstrapCommand
{
public:
    // `arguments` are those after the word "bootstrap". Returns the exit status.
    static int run(const QStringList &arguments);
    static QString usage();
};
