#include "FormulaGrouping.h"

#include "expr/BinaryOperation.h"
#include "expr/Literal.h"
#include "expr/Symbol.h"
#include "expr/UnaryOperation.h"

#include <QLocale>

#include <cstdio>
#include <cstdlib>

namespace pelkfuzz {

namespace {

const char *binarySign(const zav::BinaryOperation &node)
{
    if (dynamic_cast<const zav::AddOperation *>(&node))
        return "+";
    if (dynamic_cast<const zav::SubtractOperation *>(&node))
        return "-";
    if (dynamic_cast<const zav::MultiplyOperation *>(&node))
        return "*";
    if (dynamic_cast<const zav::DivideOperation *>(&node))
        return "/";
    if (dynamic_cast<const zav::PowerOperation *>(&node))
        return "^";
    return nullptr;
}

// The function's token with its "(", or "(-" for unary minus.
const char *unaryOpening(const zav::UnaryOperation &node)
{
    if (dynamic_cast<const zav::ExponentialOperation *>(&node))
        return "exp(";
    if (dynamic_cast<const zav::LogOperation *>(&node))
        return "log(";
    if (dynamic_cast<const zav::InvLogitOperation *>(&node))
        return "invLogit(";
    if (dynamic_cast<const zav::NegateOperation *>(&node))
        return "(-";
    return nullptr;
}

[[noreturn]] void unknownNode(const zav::Equation &node)
{
    std::fprintf(stderr, "The parser built a node of an unknown kind: %s\n", qPrintable(node.toString()));
    std::abort();
}

// Appends to one string: building each level's text from its operands'
// texts would copy a deep formula's text once per level.
void appendGrouped(const zav::Equation &node, QString &text)
{
    if (const auto *binary = dynamic_cast<const zav::BinaryOperation *>(&node)) {
        const char *sign = binarySign(*binary);
        if (!sign)
            unknownNode(node);
        text += u'(';
        appendGrouped(*binary->left(), text);
        text += QLatin1String(sign);
        appendGrouped(*binary->right(), text);
        text += u')';
    } else if (const auto *unary = dynamic_cast<const zav::UnaryOperation *>(&node)) {
        const char *opening = unaryOpening(*unary);
        if (!opening)
            unknownNode(node);
        text += QLatin1String(opening);
        appendGrouped(*unary->operand(), text);
        text += u')';
    } else if (const auto *literal = dynamic_cast<const zav::Literal *>(&node)) {
        text += QString::number(literal->value(), 'f', QLocale::FloatingPointShortest);
    } else if (const auto *symbol = dynamic_cast<const zav::Symbol *>(&node)) {
        text += symbol->name();
    } else {
        unknownNode(node);
    }
}

} // namespace

QString groupedText(const zav::Equation &node)
{
    QString text;
    appendGrouped(node, text);
    return text;
}

} // namespace pelkfuzz
