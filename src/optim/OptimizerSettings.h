// The minimisation method of a workspace and the settings of each method.
//
// A workspace carries one, and every run builds its own optimizer from the
// workspace it runs on, so that runs on different workspaces (a set of
// models, refits on threads) never share an optimizer or its settings. The
// desktop program keeps the open workspace's choice in the process-wide
// factory and settings records, which the Optimizer page edits; current()
// and makeCurrent() copy between those records and a workspace.
#pragma once

#include "optim/FletchSettings.h"
#include "optim/OptimizerFactory.h"
#include "optim/SimplexSettings.h"

#include <memory>

namespace zav {

class AbstractOptimizer;

struct OptimizerSettings
{
    OptimizerFactory::OptimizerType type = OptimizerFactory::NoOptimizer;
    FletchSettings fletch;
    SimplexSettings simplex;

    // A new optimizer of the chosen method with its settings; null when no
    // method is chosen.
    std::unique_ptr<AbstractOptimizer> createOptimizer() const;
    // Copies the settings of the optimizer's method into it; `optimizer`
    // must be of the type chosen here.
    void configure(AbstractOptimizer &optimizer) const;

    // The factory's method and the settings records.
    static OptimizerSettings current();
    // Sets the factory's method and the settings records to these.
    void makeCurrent() const;
};

} // namespace zav
