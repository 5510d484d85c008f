#include "estimation/ModelVerifier.h"

#include "likelihood/Estimability.h"
#include "model/MessageSink.h"
#include "model/ModelDefinition.h"
#include "model/ModelValidator.h"
#include "optim/NRError.h"

namespace pelk {

bool verifyModel(ModelDefinition &model, MessageSink &sink)
{
    if (!validate(model, sink)) {
        sink.write(QStringLiteral("\nThe Model Definition is not valid.\n"), MessageSink::Bold);
        return false;
    }
    sink.write(QStringLiteral("\nThe Model Definition is valid.\n"), MessageSink::Normal);
    if (!isEstimabilityDecidable(model))
        return true;
    const int k = model.parameterCount();
    sink.write(QStringLiteral("\nNumber of parameters: %1\n").arg(k), MessageSink::Normal);
    try {
        const int d = sufficientStatisticDimension(model);
        sink.write(QStringLiteral("Dimension of minimum sufficient statistic: %1\n").arg(d),
                   MessageSink::Normal);
        if (d < k)
            sink.write(
                QStringLiteral("There are more parameters than can be estimated by the current model.\n"),
                MessageSink::Bold);
    } catch (const NR3::NRError &error) {
        sink.write(QString::fromLatin1(error.message) + u'\n', MessageSink::Bold);
    }
    return true;
}

} // namespace pelk
