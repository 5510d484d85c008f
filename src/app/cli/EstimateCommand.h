// `pelk-cli estimate [options] WORKSPACE`: the estimation sequence of the
// Estimate page on a workspace file, its log on standard error as it
// happens, the summary on standard output (plain text, or JSON). With
// --json every exit but wrong usage (64) prints one document, with the exit
// status, so that a script can parse every outcome.
#pragma once

#include <QStringList>

class EstimateCommand
{
public:
    // `arguments` are those after the word "estimate". Returns the exit status.
    static int run(const QStringList &arguments);
    static QString usage();
};
