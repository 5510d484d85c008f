// The page of one normal likelihood: its three formulas, observed value,
// expected value and standard error, each in a field of its own, with the
// symbol tool bars and the likelihood buttons every likelihood page has.
//
// A field's text is parsed when the analyst presses Return (or Enter) or
// leaves the field. A formula that parses goes to the model definition; one
// that does not leaves its message in the status bar and, after Return,
// the cursor at the offending token; leaving the field then discards the
// edit (the field shows the model's formula again). An empty field is never
// committed. The workspace lock makes the fields read-only.
#pragma once

#include "LikelihoodPage.h"

#include "expr/Equation.h"

class EquationLineEdit;

namespace pelk {
class ModelDefinition;
}

class NormalLikelihoodPage : public LikelihoodPage
{
    Q_OBJECT

public:
    NormalLikelihoodPage(PelkWindow *mainWindow, int likelihoodId, pelk::ModelDefinition *model);
    QString helpPageName() const override { return "defineLikelihoods.html"; }

    EquationLineEdit *observedLineEdit() const { return m_fields[Observed].lineEdit; }
    EquationLineEdit *expectedLineEdit() const { return m_fields[Expected].lineEdit; }
    EquationLineEdit *standardErrorLineEdit() const { return m_fields[StandardError].lineEdit; }

public slots:
    // Inserts a tool bar's text into the field that has the focus.
    void insertText(QString text);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    enum Formula { Observed, Expected, StandardError, FormulaCount };
    struct Field
    {
        EquationLineEdit *lineEdit = nullptr;
        QString (pelk::ModelDefinition::*text)(int) const = nullptr;
        zav::Equation *(pelk::ModelDefinition::*equation)(int) const = nullptr;
        void (pelk::ModelDefinition::*set)(int, const QString &, zav::EquationPtr) = nullptr;
    };

    QWidget *makeFields();
    // Parses the field and stores its formula; when the analyst is leaving
    // the field, an edit that cannot be stored is discarded.
    void commit(Field &field, bool leaving);
    void setReadOnly(bool readOnly);
    bool likelihoodExists() const;

    pelk::ModelDefinition *m_model;
    Field m_fields[FormulaCount];
};
