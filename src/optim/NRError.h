// The numeric exception of every numerical routine: thrown by value, caught
// by reference, its message a static text shown as a red log line.
#pragma once

#include <cstdint>
#include <cstring>

namespace NR3 {

struct NRError
{
    const char *message;
    // 0 for the plain "Maximum number of iterations exceeded", 1 otherwise.
    std::int32_t code;

    explicit NRError(const char *message)
        : message(message), code(std::strcmp(message, "Maximum number of iterations exceeded") == 0 ? 0 : 1)
    {}
};

} // namespace NR3
