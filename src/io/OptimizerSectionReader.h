// Reads the optimizer section: the method, the two estimation options and
// the method's settings.
#pragma once

#include "optim/OptimizerSettings.h"

namespace pelk {

class TokenStream;

class OptimizerSectionReader
{
public:
    // "optimizer" ("powell" | "fletch" | "simplex") "," followed by
    // usePreviousEstimatesAsSeeds, calculateCovariance and, for Fletch and
    // the simplex, their settings in any order. The method is set once both
    // options have been read; settings not in the file keep their values.
    static void read(TokenStream &tokens, bool &usePreviousEstimatesAsSeeds, bool &calculateCovariance,
                     zav::OptimizerSettings &optimizer);
};

} // namespace pelk
