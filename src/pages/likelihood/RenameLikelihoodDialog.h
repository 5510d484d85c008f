// Asks for a new name of the likelihood of one page and has the main window
// rename it (page title, navigation entry and model definition). An empty
// name, one the workspace file could not read back, or one already in use
// (the likelihood's own included) is refused with a message and the dialog
// stays open.
#pragma once

#include <QDialog>

class LikelihoodPage;
class PelkWindow;
class QLineEdit;
class QPushButton;

class RenameLikelihoodDialog : public QDialog
{
    Q_OBJECT

public:
    RenameLikelihoodDialog(PelkWindow *mainWindow, LikelihoodPage *page, QWidget *parent = nullptr);

public slots:
    void okRequested();

private:
    PelkWindow *m_mainWindow;
    LikelihoodPage *m_page;
    QLineEdit *m_nameLineEdit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};
