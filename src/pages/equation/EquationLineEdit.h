// The line edit in which the analyst types one formula: a category
// probability, a convenience function's definition, a field of a normal
// likelihood. It parses its own text and keeps the tree of the last
// successful parse, and it inserts symbols clicked on a tool bar.
//
// Used two ways:
// - inside a table, as the editor an EquationDelegate creates; the delegate
//   decides when to parse (Tab, Backtab, Return, Enter, focus-out);
// - on its own, as a form field: the page calls parseText() when the
//   analyst has finished (editingFinished), shows the message on failure,
//   and on success hands text() and takeEquation() to the model.
//
// Symbol insertion: while Control is held, a valid symbol name is inserted
// as "(1-<name>)", one minus the symbol; other texts (math symbols) are
// inserted unchanged.
#pragma once

#include "EquationDefinition.h"

#include <QLineEdit>

class EquationLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit EquationLineEdit(QWidget *parent = nullptr);
    ~EquationLineEdit() override;

    // Parses text() as one formula. On success the tree is kept (equation())
    // and true is returned. On failure the kept tree is dropped, the cursor
    // goes to the offending token's column (just after its first
    // character), *errorMessage (when given) receives the parser's message,
    // "\"<token>\" - <reason>", and false is returned. Blank text fails with
    // the parser's own message; callers that treat an empty field as "no
    // formula" test for it first.
    bool parseText(QString *errorMessage = nullptr);

    // The tree of the last successful parse; null before one, after a
    // failed one and after clearEquation().
    zav::Equation *equation() const { return m_equation.get(); }
    // Hands the tree over (the line edit no longer has one).
    zav::EquationPtr takeEquation() { return std::move(m_equation); }
    void clearEquation() { m_equation.reset(); }
    // Text and borrowed tree, as an item model receives them.
    EquationDefinition definition() const { return EquationDefinition(text(), m_equation.get()); }

    // Whether Control is held down while this line edit has the focus. A
    // line edit on its own follows its key events; the EquationDelegate
    // sets it from its event filter.
    bool isControlHeld() const { return m_controlHeld; }
    void setControlHeld(bool held) { m_controlHeld = held; }

    // Inserts text at the cursor, as "(1-<text>)" when Control is held and
    // text is a valid symbol name; the cursor ends after the insertion.
    void insertSymbol(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    // A release of Control that happens elsewhere never reaches us; forget
    // the key rather than insert "(1-...)" on the next click.
    void focusOutEvent(QFocusEvent *event) override;

private:
    zav::EquationPtr m_equation;
    bool m_controlHeld = false;
};
