// What the "Verify the Model" page and `pelk-cli verify` show: the
// validation findings followed by the verdict and, for models where it is
// decidable, the number of parameters against the dimension of the minimum
// sufficient statistic.
#pragma once

namespace pelk {

class MessageSink;
class ModelDefinition;

// Returns true when the model is valid.
bool verifyModel(ModelDefinition &model, MessageSink &sink);

} // namespace pelk
