#include "optim/FletchSettings.h"
#include "optim/SimplexSettings.h"

namespace zav {

// Created on first use from the defaults; never destroyed before exit.
SimplexSettings &SimplexSettings::instance()
{
    static SimplexSettings settings;
    return settings;
}

FletchSettings &FletchSettings::instance()
{
    static FletchSettings settings;
    return settings;
}

} // namespace zav
