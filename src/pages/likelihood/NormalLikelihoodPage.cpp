#include "NormalLikelihoodPage.h"

#include "app/PelkWindow.h"
#include "model/ModelDefinition.h"
#include "pages/equation/EquationLineEdit.h"

#include <QFocusEvent>
#include <QFormLayout>
#include <QStatusBar>

NormalLikelihoodPage::NormalLikelihoodPage(PelkWindow *mainWindow, int likelihoodId,
                                           pelk::ModelDefinition *model)
    : LikelihoodPage(mainWindow, likelihoodId, model->likelihoodName(likelihoodId)), m_model(model)
{
    using pelk::ModelDefinition;
    m_fields[Observed] = {nullptr, &ModelDefinition::observed, &ModelDefinition::observedEquation,
                          &ModelDefinition::setObserved};
    m_fields[Expected] = {nullptr, &ModelDefinition::expected, &ModelDefinition::expectedEquation,
                          &ModelDefinition::setExpected};
    m_fields[StandardError] = {nullptr, &ModelDefinition::standardError,
                               &ModelDefinition::standardErrorEquation, &ModelDefinition::setStandardError};

    QWidget *fields = makeFields();
    // The buttons follow the lock in LikelihoodPage; the fields here.
    connect(mainWindow, &PelkWindow::lockWorkspace, this, [this] { setReadOnly(true); });
    connect(mainWindow, &PelkWindow::clearEstimates, this, [this] { setReadOnly(false); });
    setReadOnly(mainWindow->isLocked());
    connect(this, &LikelihoodPage::textAvailable, this, &NormalLikelihoodPage::insertText);
    addToolBarsAndForm(fields);
}

QWidget *NormalLikelihoodPage::makeFields()
{
    auto *fields = new QWidget(this);
    auto *layout = new QFormLayout(fields);
    const char *labels[FormulaCount] = {"Observed", "Expected", "Standard error"};
    const char *objectNames[FormulaCount] = {"observedLineEdit", "expectedLineEdit", "standardErrorLineEdit"};
    const char *placeholders[FormulaCount]
        = {"Observed value, e.g. 12.5", "Expected value, e.g. 10*s", "Standard error, e.g. 0.8"};
    for (int i = 0; i < FormulaCount; ++i) {
        Field &field = m_fields[i];
        field.lineEdit = new EquationLineEdit(fields);
        field.lineEdit->setObjectName(objectNames[i]);
        field.lineEdit->setPlaceholderText(placeholders[i]);
        field.lineEdit->setText((m_model->*field.text)(likelihoodId()));
        field.lineEdit->installEventFilter(this);
        // Return and the keypad's Enter.
        connect(field.lineEdit, &QLineEdit::returnPressed, this, [this, &field] { commit(field, false); });
        layout->addRow(labels[i], field.lineEdit);
    }
    return fields;
}

bool NormalLikelihoodPage::eventFilter(QObject *object, QEvent *event)
{
    // The line edit's own context menu takes the focus for a moment; the
    // edit goes on.
    if (event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        for (Field &field : m_fields)
            if (object == field.lineEdit)
                commit(field, true);
    }
    return LikelihoodPage::eventFilter(object, event);
}

void NormalLikelihoodPage::commit(Field &field, bool leaving)
{
    EquationLineEdit *lineEdit = field.lineEdit;
    // Deleting the likelihood hides this page, which takes the focus from
    // a field; its formula has nowhere to go then.
    if (lineEdit->isReadOnly() || !likelihoodExists())
        return;
    const int id = likelihoodId();
    const QString stored = (m_model->*field.text)(id);
    const QString text = lineEdit->text();
    // Nothing new: no change to the workspace.
    if (text == stored && (m_model->*field.equation)(id)) {
        statusBar()->clearMessage();
        return;
    }
    QString message;
    if (text.trimmed().isEmpty() || !lineEdit->parseText(&message)) {
        if (!message.isEmpty())
            statusBar()->showMessage(message);
        if (leaving)
            lineEdit->setText(stored);
        return;
    }
    (m_model->*field.set)(id, text, lineEdit->takeEquation());
    statusBar()->clearMessage();
    // The model definition does not announce these formulas itself.
    emit definitionChanged();
}

bool NormalLikelihoodPage::likelihoodExists() const
{
    for (int position = 0; position < m_model->likelihoodCount(); ++position)
        if (m_model->likelihoodId(position) == likelihoodId())
            return true;
    return false;
}

void NormalLikelihoodPage::insertText(QString text)
{
    for (Field &field : m_fields)
        if (field.lineEdit->hasFocus() && !field.lineEdit->isReadOnly())
            field.lineEdit->insertSymbol(text);
}

void NormalLikelihoodPage::setReadOnly(bool readOnly)
{
    for (Field &field : m_fields)
        field.lineEdit->setReadOnly(readOnly);
}
