// A test objective for the optimizers: evaluates a formula, records every
// point it is called with, and can raise a cancel flag from inside a call so
// that cancellation happens at a known place in a run.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/Func.h"

#include <functional>
#include <utility>
#include <vector>

namespace optimtest {

using Point = std::vector<double>;

class RecordingFunc : public zav::Func
{
public:
    explicit RecordingFunc(std::function<double(const Point &)> formula) : formula(std::move(formula)) {}

    double operator()(const Point &x) override
    {
        calls.push_back(x);
        if (raiseFlagAtCall == int(calls.size()) || (raiseFlagWhen && raiseFlagWhen(x)))
            flag.store(true);
        return formula(x);
    }

    int callCount() const { return int(calls.size()); }

    std::vector<Point> calls;
    // The flag to hand to minimize; raised during call number raiseFlagAtCall
    // (1-based) or at the first point that satisfies raiseFlagWhen.
    zav::CancelFlag flag{false};
    int raiseFlagAtCall = 0;
    std::function<bool(const Point &)> raiseFlagWhen;

private:
    std::function<double(const Point &)> formula;
};

} // namespace optimtest
