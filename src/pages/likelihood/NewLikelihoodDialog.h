// Asks for the name of a new likelihood and its kind (More shows the
// choice: multinomial, the default, or normal), and has the main window
// create it. An empty name, one the workspace file could not read back, or
// one already in use is refused with a message and the dialog stays open.
#pragma once

#include <QDialog>

class PelkWindow;
class QLineEdit;
class QPushButton;
class QRadioButton;

class NewLikelihoodDialog : public QDialog
{
    Q_OBJECT

public:
    NewLikelihoodDialog(PelkWindow *mainWindow, QWidget *parent = nullptr);

public slots:
    void okClicked();

private:
    PelkWindow *m_mainWindow;
    QLineEdit *m_nameLineEdit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
    QPushButton *m_moreButton;
    QWidget *m_extensionWidget;
    QRadioButton *m_multinomialRadio;
    QRadioButton *m_normalRadio;
};
