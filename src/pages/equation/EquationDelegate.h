// The delegate of every table column that holds a formula (category
// probabilities, convenience-function definitions). The analyst edits the
// cell in an EquationLineEdit; the text is parsed when the edit ends and
// only a formula that parses reaches the model.
//
// How an edit ends:
// - Tab, Backtab, Return, keypad Enter: parse. On success validationOK() is
//   emitted, the model gets an EquationDefinition (text and tree) and the
//   editor closes moving to the next (Backtab: previous) cell. On a parse
//   error the editor stays open, the cursor goes to the offending token and
//   validationError(message) carries the parser's "\"<token>\" - <reason>".
//   These keys never reach the editor or the view.
// - Focus leaving the editor: the same parse; on an error the message is
//   reported and the edit is discarded (the model refuses a definition
//   without a tree).
// - Escape: the edit is discarded.
// - Empty text is never parsed nor committed; the editor stays open on
//   Tab/Return and closes without a change on focus-out. While empty it
//   shows the placeholder the page gave: what the cell expects.
//
// Tool bars: connect the page's textAvailable(text) to insertText(text).
// Holding Control (pressed while the editor has the focus) makes a symbol
// name go in as "(1-<name>)".
//
// The receiving model's setData() takes, for Qt::EditRole, a QVariant
// holding an EquationDefinition, and stores definition.cloneEquation()
// (see EquationDefinition.h). Typical use on a page:
//     auto *delegate = new EquationDelegate(this, "Probability formula, e.g. p*(1-q)");
//     view->setItemDelegateForColumn(1, delegate);
//     connect(delegate, &EquationDelegate::validationError, statusBar(), [this](const QString &m) {
//         statusBar()->showMessage(m); });
//     connect(delegate, &EquationDelegate::validationOK, statusBar(), &QStatusBar::clearMessage);
//     connect(this, &Page::textAvailable, delegate, &EquationDelegate::insertText);
#pragma once

#include "EquationLineEdit.h"

#include <QPointer>
#include <QStyledItemDelegate>

class EquationDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    EquationDelegate(QObject *parent, const QString &placeholder);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;

    // The open editor, or null when no cell is being edited.
    EquationLineEdit *currentEditor() const { return m_editor; }

signals:
    void validationError(QString msg);
    void validationOK();

public slots:
    // Inserts text at the cursor of the open editor; does nothing without one.
    void insertText(QString text);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    // Parses the editor's text and, when it parses, hands it to the model
    // and closes the editor with the hint; true on success.
    bool commit(EquationLineEdit *editor, QAbstractItemDelegate::EndEditHint hint);

    QString m_placeholder;
    mutable QPointer<EquationLineEdit> m_editor;
};
