#include "EquationDefinition.h"

void EquationDefinition::registerMetaType()
{
    qRegisterMetaType<EquationDefinition>("EquationDefinition");
}
