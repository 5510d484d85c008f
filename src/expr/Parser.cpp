#include "expr/Parser.h"

#include "expr/Literal.h"
#include "expr/NameTable.h"
#include "expr/NumberText.h"
#include "expr/Operator.h"
#include "expr/ParseError.h"
#include "expr/Symbol.h"
#include "expr/SymbolValidator.h"
#include "expr/Tokenizer.h"

#include <algorithm>

namespace zav {

namespace {

const QString illegalSyntax = QStringLiteral("illegal syntax");

// Every token of every formula is tested against several texts, most of
// another length: the lengths are compared first, inline.
bool is(QStringView text, QStringView expected)
{
    return text.size() == expected.size() && std::equal(text.begin(), text.end(), expected.begin());
}

// Every walk of a tree (evaluation, text, derivatives, destruction) recurses
// once per level, so a formula's depth is bounded well below what an 8 MiB
// thread stack holds. Real formulas are tens of levels deep; a sum of n
// terms is n levels deep, so this still allows sums of thousands of terms.
constexpr int maxTreeDepth = 10000;

// Shunting-yard with parenthesis depth instead of stacked parentheses.
class ShuntingYard
{
public:
    ShuntingYard(const AbstractSymbolValidator &validator, NameTable *names)
        : m_validator(validator), m_names(names)
    {}

    EquationPtr run(const Tokenizer::TokenViews &tokens);

private:
    void readOperand(const TokenView &token);
    void readOperator(const TokenView &token);
    void push(const Operator &op, const TokenView &at);
    void applyTop(const TokenView &at);

    const AbstractSymbolValidator &m_validator;
    NameTable *m_names;
    OperandStack m_operands;
    std::vector<int> m_treeDepths; // depth of each tree on the operand stack
    std::vector<Operator> m_operators;
    int m_depth = 0;
    bool m_expectingOperand = true;
};

EquationPtr ShuntingYard::run(const Tokenizer::TokenViews &tokens)
{
    // Deep enough for every formula but pathological ones, so that the
    // stacks rarely grow.
    m_operands.reserve(16);
    m_treeDepths.reserve(16);
    m_operators.reserve(16);
    for (const TokenView &token : tokens) {
        if (m_expectingOperand)
            readOperand(token);
        else
            readOperator(token);
    }
    const TokenView &last = tokens.back();
    if (m_depth != 0) // "(", "exp(a"
        throw ParseError(last.toToken(), QStringLiteral("unbalanced Parentheses"));
    if (m_expectingOperand) // "a+", a lone "-": an operator without its operand
        throw ParseError(last.toToken(), illegalSyntax);
    while (!m_operators.empty())
        applyTop(last);
    if (m_operands.size() != 1)
        throw ParseError(last.toToken(), illegalSyntax);
    return std::move(m_operands.back());
}

void ShuntingYard::readOperand(const TokenView &token)
{
    const QStringView text = token.text;
    if (is(text, u"(")) {
        ++m_depth;
        return;
    }
    if (is(text, u"exp(") || is(text, u"log(") || is(text, u"invLogit(")) {
        const Operator function = Operator::function(token, m_depth);
        ++m_depth;
        push(function, token);
        return;
    }
    if (is(text, u"-")) {
        push(Operator::negate(token, m_depth), token);
        return;
    }
    if (const auto number = toFiniteDouble(text)) {
        m_operands.push_back(std::make_unique<Literal>(*number));
    } else if (m_validator.isValid(text)) {
        m_operands.push_back(std::make_unique<Symbol>(m_names ? m_names->text(text) : token.toString()));
    } else {
        // A ")" where an operand belongs, "2a", "_x", a second "*" of "a**2",
        // a leading "+": neither a number nor a name.
        throw ParseError(token.toToken(), QStringLiteral("Invalid symbol name"));
    }
    m_treeDepths.push_back(1);
    m_expectingOperand = false;
}

void ShuntingYard::readOperator(const TokenView &token)
{
    if (is(token.text, u")")) {
        if (--m_depth < 0) // "a)"
            throw ParseError(token.toToken(), illegalSyntax);
        return;
    }
    const std::optional<Operator> op = Operator::binary(token, m_depth);
    if (!op) // "a b", "(a)(b)", "a exp(b)": two operands in a row
        throw ParseError(token.toToken(), illegalSyntax);
    push(*op, token);
    m_expectingOperand = true;
}

// Reduce before pushing: apply every stacked operator that binds at least
// as tightly as the new one.
void ShuntingYard::push(const Operator &op, const TokenView &at)
{
    while (!m_operators.empty()) {
        const Operator &top = m_operators.back();
        const bool deeper = top.depth() > op.depth();
        const bool sameDepthTighter = top.depth() == op.depth() && top.precedence() >= op.precedence();
        if (!deeper && !sameDepthTighter)
            break;
        applyTop(at);
    }
    m_operators.push_back(op);
}

// A unary minus right after a binary operator ("a*-b", "a^-2", "--a") makes
// the pending operator reduce before its right operand exists; that input
// is refused here rather than read past the operand stack.
void ShuntingYard::applyTop(const TokenView &at)
{
    const Operator top = m_operators.back();
    m_operators.pop_back();
    const std::size_t arity = std::size_t(top.arity());
    if (m_operands.size() < arity)
        throw ParseError(at.toToken(), illegalSyntax);
    int depth = 0;
    for (std::size_t i = 0; i < arity; ++i) {
        depth = std::max(depth, m_treeDepths.back());
        m_treeDepths.pop_back();
    }
    if (++depth > maxTreeDepth)
        throw ParseError(at.toToken(), QStringLiteral("formula nested too deeply"));
    m_treeDepths.push_back(depth);
    m_operands.push_back(top.apply(m_operands));
}

} // namespace

EquationPtr parse(const TokenList &pieces, const AbstractSymbolValidator &validator, NameTable *names)
{
    // Built once: reading a file parses a formula per category. Tokenizing
    // changes nothing, so threads may share it.
    static const Tokenizer tokenizer(Tokenizer::formulaDelimiters(), Tokenizer::blanks());
    // Views into the pieces' texts, which outlive the parse.
    Tokenizer::TokenViews tokens;
    for (const Token &piece : pieces)
        tokenizer.tokenizeInto(piece.text, piece.line, tokens);
    if (tokens.isEmpty()) {
        // Empty or blank text: there is no token to blame.
        const int line = pieces.isEmpty() ? 0 : pieces.first().line;
        throw ParseError(Token(QString(), line, 0), illegalSyntax);
    }
    return ShuntingYard(validator, names).run(tokens);
}

EquationPtr parse(const QString &text, const AbstractSymbolValidator &validator)
{
    return parse(TokenList {Token(text, 0, 1)}, validator);
}

} // namespace zav
