// Which free texts PELK's files can carry and read back unchanged: category
// labels (written before their probability in the model sections and
// before ":" in the counts section) and likelihood names (written between
// double quotes). The reader splits every line into tokens at blanks and at
// = , ; " : (each of those a token of its own), drops everything from "#"
// on, and joins the tokens of a label or a name with single blanks. Editors
// refuse any text for which that does not give the text back, so that
// whatever the analyst types survives a save and a reload.
#pragma once

#include <QString>

namespace pelk::FileTextRules {

// True when the label reads back as itself from both the likelihood section
// and the counts section, wherever its category stands in the list:
//  - its tokens joined by single blanks are the label (so no "#", no tab,
//    no doubled or outer blank, and every = ; " stands between blanks);
//  - no token is "," (it ends a label in the likelihood section) or ":"
//    (it ends a label in the counts section);
//  - the first token is not ";", which right after the likelihood's name
//    would read as an empty likelihood.
// An empty label is refused.
bool isWritableCategoryLabel(const QString &label);

// True when the name reads back as itself from between the double quotes
// of a likelihood section: its tokens joined by single blanks are the name,
// and none of them is the closing quote. An empty name is refused.
bool isWritableLikelihoodName(const QString &name);

// True when a parameter or convenience-function name is one token of the
// file reader and one symbol of a formula, so that the parameter list, the
// variable definitions and the formulas that use it read it back (this
// matters for names between "$" signs, which may hold any character). An
// empty name is refused.
bool isWritableSymbolName(const QString &name);

} // namespace pelk::FileTextRules
