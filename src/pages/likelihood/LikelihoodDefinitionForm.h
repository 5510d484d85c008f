// The frame of a likelihood page below its tool bars: the editor of the
// likelihood (its category table, or the formulas of a normal likelihood)
// in contentFrame, and the buttons that create, rename and delete
// likelihoods. The form only reports clicks; the page acts on them.
#pragma once

#include <QWidget>

class QFrame;
class QPushButton;

class LikelihoodDefinitionForm : public QWidget
{
    Q_OBJECT

public:
    explicit LikelihoodDefinitionForm(QWidget *parent = nullptr);

    // Holds the editor; its layout is a QVBoxLayout.
    QFrame *contentFrame() const { return m_contentFrame; }
    QPushButton *newLikelihoodButton() const { return m_newLikelihoodButton; }
    QPushButton *renameLikelihoodButton() const { return m_renameLikelihoodButton; }
    QPushButton *deleteLikelihoodButton() const { return m_deleteLikelihoodButton; }

signals:
    void newLikelihood();
    void renameLikelihood();
    void deleteLikelihood();
    // Declared for a counts loader on the page; no button of the form emits
    // it (counts are loaded from the File menu).
    void loadCounts();

private:
    QFrame *m_contentFrame;
    QPushButton *m_newLikelihoodButton;
    QPushButton *m_renameLikelihoodButton;
    QPushButton *m_deleteLikelihoodButton;
};
