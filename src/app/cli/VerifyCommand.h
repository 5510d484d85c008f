// `pelk-cli verify WORKSPACE`: what the Verify page shows, on standard
// output; exit status 0 when the model is valid, 1 when not.
#pragma once

#include <QStringList>

class VerifyCommand
{
public:
    static int run(const QStringList &arguments);
    static QString usage();
};
