// A model comparison as one JSON document, for scripts: "chatUsed" (null
// without c-hat), "rankedBy" ("aicc", "aic" or "qaicc"), "models" in table
// order, "averaged", "lrt" and "notes". A model's "deltaAicc" and
// "aiccWeight" are on AIC when the set is ranked by AIC; "cumulativeWeight"
// adds up the weights of the ranking (QAICc's with c-hat). Numbers at full
// double precision, null for a value that does not exist.
#pragma once

#include <QJsonObject>

namespace pelk {

class ModelComparison;

class ComparisonJsonWriter
{
public:
    static QJsonObject write(const ModelComparison &comparison);
};

} // namespace pelk
