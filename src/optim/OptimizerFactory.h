// The process-wide holder of the chosen minimisation method. Exactly one
// optimizer exists at a time; changing the type destroys the old one at
// once, so nobody may hold an optimizer pointer across a type change.
#pragma once

#include <QObject>

#include <memory>

namespace zav {

class AbstractOptimizer;

class OptimizerFactory
{
    Q_GADGET

public:
    // The values equal the method's index in the options editor's list.
    enum OptimizerType { Powell = 0, Fletch = 1, Simplex = 2, NoOptimizer = 3 };
    Q_ENUM(OptimizerType)

    static OptimizerFactory &instance();

    // A new optimizer of the type with its default settings; null for any
    // value other than Powell, Fletch or Simplex.
    static std::unique_ptr<AbstractOptimizer> create(OptimizerType type);

    OptimizerType optimizerType() const { return m_optimizerType; }
    // Destroys the current optimizer, then creates one of the new type; any
    // value other than Powell, Fletch or Simplex leaves none.
    void setOptimizerType(OptimizerType type);

    // Copies the settings records into the current optimizer and returns it
    // (null while no type is chosen). Every run obtains its optimizer here,
    // so edited settings take effect at the next run.
    AbstractOptimizer *configuredOptimizer();

    // The current optimizer as it is, without copying settings.
    AbstractOptimizer *currentOptimizer() const { return m_optimizer.get(); }

private:
    OptimizerFactory();
    ~OptimizerFactory();

    OptimizerType m_optimizerType = NoOptimizer;
    std::unique_ptr<AbstractOptimizer> m_optimizer;
};

} // namespace zav
