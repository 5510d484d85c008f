#include "EquationLineEdit.h"

#include "expr/ParseError.h"
#include "expr/Parser.h"
#include "expr/SymbolValidator.h"

#include <QKeyEvent>

EquationLineEdit::EquationLineEdit(QWidget *parent) : QLineEdit(parent)
{
    EquationDefinition::registerMetaType();
}

EquationLineEdit::~EquationLineEdit() = default;

bool EquationLineEdit::parseText(QString *errorMessage)
{
    // The whole text is one piece (line 0: it comes from no file), so the
    // token columns count from the first character of the field.
    const zav::TokenList pieces {zav::Token(text(), 0, 0)};
    try {
        m_equation = zav::parse(pieces, pelk::SymbolValidator());
    } catch (const zav::ParseError &error) {
        m_equation.reset();
        setCursorPosition(error.token().column);
        if (errorMessage)
            *errorMessage = error.message();
        return false;
    }
    return true;
}

void EquationLineEdit::insertSymbol(const QString &symbol)
{
    const QString inserted
        = m_controlHeld && pelk::SymbolValidator().isValid(symbol) ? "(1-" + symbol + ")" : symbol;
    const int position = cursorPosition();
    QString edited = text();
    edited.insert(position, inserted);
    setText(edited);
    setCursorPosition(position + int(inserted.size()));
}

void EquationLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control)
        m_controlHeld = true;
    QLineEdit::keyPressEvent(event);
}

void EquationLineEdit::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control)
        m_controlHeld = false;
    QLineEdit::keyReleaseEvent(event);
}

void EquationLineEdit::focusOutEvent(QFocusEvent *event)
{
    m_controlHeld = false;
    QLineEdit::focusOutEvent(event);
}
