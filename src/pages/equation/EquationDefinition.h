// A formula as an editor hands it to an item model: the text the analyst
// typed and the tree the parser made of it. It travels inside a QVariant
// (registered as "EquationDefinition") from an EquationDelegate's editor to
// the model's setData().
//
// The tree is borrowed, not handed over: the editor keeps owning it, and a
// model that accepts the value stores its own copy (cloneEquation()). The
// editor's tree may be reset while setData() is still running (the view
// refreshes the open editor when the model announces the change), so a
// model must never keep the pointer itself.
#pragma once

#include "expr/Equation.h"

#include <QMetaType>
#include <QString>

struct EquationDefinition
{
    QString text;
    // The parsed text; null when the text was not parsed or did not parse.
    const zav::Equation *equation = nullptr;

    EquationDefinition() = default;
    EquationDefinition(const QString &text, const zav::Equation *equation) : text(text), equation(equation) {}

    // A model accepts only a definition with text and a tree.
    bool isComplete() const { return !text.isEmpty() && equation; }
    // The model's own copy of the tree; null when there is none.
    zav::EquationPtr cloneEquation() const { return equation ? equation->clone() : nullptr; }

    // Makes the type known to the meta-type system by its name; the editors
    // call it, so models never need to.
    static void registerMetaType();
};

Q_DECLARE_METATYPE(EquationDefinition)
