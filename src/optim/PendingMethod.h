// A minimisation method that is not built yet fails with a numeric error
// instead of pretending to have minimised anything.
#pragma once

#include "optim/NRError.h"

namespace zav {

[[noreturn]] inline void methodNotAvailable()
{
    throw NR3::NRError("This minimisation method is not available yet");
}

} // namespace zav
