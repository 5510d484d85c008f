// A model comparison as plain text, what `pelk-cli compare` prints by
// default: the ranked table in aligned columns, the notes that qualify it,
// the model-averaged estimates and the likelihood-ratio tests.
#pragma once

#include <QString>

namespace pelk {

class ModelComparison;

class ComparisonTextWriter
{
public:
    static QString write(const ModelComparison &comparison);
};

} // namespace pelk
