// Checks a model before anything is computed and wires its formulas
// together: every Symbol is bound to the parameter or convenience function
// of its name, self-referring convenience functions are refused, and each
// multinomial likelihood's probabilities must sum to 1 at a test point.
//
// Binding is redone on every call, so formulas edited since the last check
// are bound afresh. A model that fails may be partly bound; nothing may
// evaluate it until a later validation succeeds.
#pragma once

namespace pelk {

class MessageSink;
class ModelDefinition;

// Writes only error messages (bold, except those of normal likelihoods);
// every error of a step is reported, not just the first. Returns true when
// no error was found.
bool validate(ModelDefinition &model, MessageSink &sink);

} // namespace pelk
