#include "expr/Parser.h"

#include "expr/Literal.h"
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

// Every walk of a tree (evaluation, text, derivatives, destruction) recurses
// once per level, so a formula's depth is bounded well below what an 8 MiB
// thread stack holds. Real formulas are tens of levels deep; a sum of n
// terms is n levels deep, so this still allows sums of thousands of terms.
constexpr int maxTreeDepth = 10000;

// Shunting-yard with parenthesis depth instead of stacked parentheses.
class ShuntingYard
{
public:
    explicit ShuntingYard(const AbstractSymbolValidator &validator) : m_validator(validator) {}

    EquationPtr run(const TokenList &tokens);

private:
    void readOperand(const Token &token);
    void readOperator(const Token &token);
    void push(std::unique_ptr<Operator> op, const Token &at);
    void applyTop(const Token &at);

    const AbstractSymbolValidator &m_validator;
    OperandStack m_operands;
    std::vector<int> m_treeDepths; // depth of each tree on the operand stack
    std::vector<std::unique_ptr<Operator>> m_operators;
    int m_depth = 0;
    bool m_expectingOperand = true;
};

EquationPtr ShuntingYard::run(const TokenList &tokens)
{
    for (const Token &token : tokens) {
        if (m_expectingOperand)
            readOperand(token);
        else
            readOperator(token);
    }
    const Token last = tokens.last();
    if (m_depth != 0) // "(", "exp(a"
        throw ParseError(last, QStringLiteral("unbalanced Parentheses"));
    if (m_expectingOperand) // "a+", a lone "-": an operator without its operand
        throw ParseError(last, illegalSyntax);
    while (!m_operators.empty())
        applyTop(last);
    if (m_operands.size() != 1)
        throw ParseError(last, illegalSyntax);
    return std::move(m_operands.back());
}

void ShuntingYard::readOperand(const Token &token)
{
    const QString &text = token.text;
    if (text == u"(") {
        ++m_depth;
        return;
    }
    if (text == u"exp(" || text == u"log(" || text == u"invLogit(") {
        auto function = Operator::function(token, m_depth);
        ++m_depth;
        push(std::move(function), token);
        return;
    }
    if (text == u"-") {
        push(Operator::negate(token, m_depth), token);
        return;
    }
    if (const auto number = toFiniteDouble(text)) {
        m_operands.push_back(std::make_unique<Literal>(*number));
    } else if (m_validator.isValid(text)) {
        m_operands.push_back(std::make_unique<Symbol>(text));
    } else {
        // A ")" where an operand belongs, "2a", "_x", a second "*" of "a**2",
        // a leading "+": neither a number nor a name.
        throw ParseError(token, QStringLiteral("Invalid symbol name"));
    }
    m_treeDepths.push_back(1);
    m_expectingOperand = false;
}

void ShuntingYard::readOperator(const Token &token)
{
    if (token.text == u")") {
        if (--m_depth < 0) // "a)"
            throw ParseError(token, illegalSyntax);
        return;
    }
    auto op = Operator::binary(token, m_depth);
    if (!op) // "a b", "(a)(b)", "a exp(b)": two operands in a row
        throw ParseError(token, illegalSyntax);
    push(std::move(op), token);
    m_expectingOperand = true;
}

// Reduce before pushing: apply every stacked operator that binds at least
// as tightly as the new one.
void ShuntingYard::push(std::unique_ptr<Operator> op, const Token &at)
{
    while (!m_operators.empty()) {
        const Operator &top = *m_operators.back();
        const bool deeper = top.depth() > op->depth();
        const bool sameDepthTighter = top.depth() == op->depth() && top.precedence() >= op->precedence();
        if (!deeper && !sameDepthTighter)
            break;
        applyTop(at);
    }
    m_operators.push_back(std::move(op));
}

// A unary minus right after a binary operator ("a*-b", "a^-2", "--a") makes
// the pending operator reduce before its right operand exists; that input
// is refused here rather than read past the operand stack.
void ShuntingYard::applyTop(const Token &at)
{
    std::unique_ptr<Operator> top = std::move(m_operators.back());
    m_operators.pop_back();
    const std::size_t arity = std::size_t(top->arity());
    if (m_operands.size() < arity)
        throw ParseError(at, illegalSyntax);
    int depth = 0;
    for (std::size_t i = 0; i < arity; ++i) {
        depth = std::max(depth, m_treeDepths.back());
        m_treeDepths.pop_back();
    }
    if (++depth > maxTreeDepth)
        throw ParseError(at, QStringLiteral("formula nested too deeply"));
    m_treeDepths.push_back(depth);
    m_operands.push_back(top->apply(m_operands));
}

} // namespace

EquationPtr parse(const TokenList &pieces, const AbstractSymbolValidator &validator)
{
    // Built once: reading a file parses a formula per category. tokenize()
    // changes nothing, so threads may share it.
    static const Tokenizer tokenizer(Tokenizer::formulaDelimiters(), Tokenizer::blanks());
    TokenList tokens;
    for (const Token &piece : pieces)
        tokens += tokenizer.tokenize(piece.text, piece.line);
    if (tokens.isEmpty()) {
        // Empty or blank text: there is no token to blame.
        const int line = pieces.isEmpty() ? 0 : pieces.first().line;
        throw ParseError(Token(QString(), line, 0), illegalSyntax);
    }
    return ShuntingYard(validator).run(tokens);
}

EquationPtr parse(const QString &text, const AbstractSymbolValidator &validator)
{
    return parse(TokenList {Token(text, 0, 1)}, validator);
}

} // namespace zav
