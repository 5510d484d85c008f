// `pelk-cli compare [options] ITEM...`: a set of models ranked by AICc (or
// AIC, or QAICc with --chat), their Akaike weights, the model-averaged
// estimates and the likelihood-ratio tests of declared nested pairs. Each
// ITEM is a workspace, estimated now (several at once), or the document of
// `pelk-cli estimate --json`, estimated elsewhere. The comparison goes to
// standard output as text, JSON or the table as CSV; a set that cannot be
// compared is refused on standard error.
#pragma once

#include <QStringList>

class CompareCommand
{
public:
    // `arguments` are those after the word "compare". Returns the exit status.
    static int run(const QStringList &arguments);
    static QString usage();
};
