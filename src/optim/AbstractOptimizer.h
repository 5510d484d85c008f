// The interface of the three minimisation methods. Contract:
//  - Methods that report progress emit beginOptimization with the value at
//    the start point before any other work and endOptimization after the
//    result is written back, also after a cancel, never after a throw.
//  - The cancel flag is tested once per iteration of the main loop; a set
//    flag returns at once without throwing, and the point then has no
//    meaning (callers discard it).
//  - An exceeded iteration or evaluation limit throws NR3::NRError.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/Func.h"

#include <QObject>
#include <QString>

#include <vector>

namespace zav {

class AbstractOptimizer : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // On entry `point` holds the start values; on a normal return the
    // minimiser found. `numIterations` receives the reported count.
    virtual void minimize(Func &function, std::vector<double> &point, const CancelFlag *cancelFlag,
                          int &numIterations)
        = 0;

signals:
    void beginOptimization(const QString &optimizerName, double functionValue);
    void endOptimization(const QString &optimizerName, double functionValue, int numIterations);
};

} // namespace zav
