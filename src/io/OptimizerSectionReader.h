// Reads the optimizer section: the method, the two estimation options and
// the method's settings, which go into the process-wide optimizer factory
// and settings records.
#pragma once

#include "optim/OptimizerFactory.h"

#include <functional>

namespace pelk {

class TokenStream;

class OptimizerSectionReader
{
public:
    using Announce = std::function<void(zav::OptimizerFactory::OptimizerType)>;

    // "optimizer" ("powell" | "fletch" | "simplex") "," followed by
    // usePreviousEstimatesAsSeeds, calculateCovariance and, for Fletch and
    // the simplex, their settings in any order. The factory type is set and
    // announced once both options have been read.
    static void read(TokenStream &tokens, bool &usePreviousEstimatesAsSeeds, bool &calculateCovariance,
                     const Announce &announce);
};

} // namespace pelk
