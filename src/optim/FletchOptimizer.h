// Fletcher's variable-metric (quasi-Newton) method, "Fletch".
#pragma once

#include "optim/AbstractOptimizer.h"
#include "optim/FletchEngine.h"

#include <memory>

namespace zav {

class FletchOptimizer : public AbstractOptimizer
{
    Q_OBJECT

public:
    explicit FletchOptimizer(QObject *parent = nullptr);
    ~FletchOptimizer() override;

    FletchEngine &engine() { return *m_engine; }
    const FletchEngine &engine() const { return *m_engine; }

    void minimize(Func &function, std::vector<double> &point, const CancelFlag *cancelFlag,
                  int &numIterations) override;

private:
    std::unique_ptr<FletchEngine> m_engine;
};

} // namespace zav
