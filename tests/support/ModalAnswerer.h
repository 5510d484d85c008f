// Answers the modal message boxes that the code under test opens, in the
// order they open: records each box's title and text and presses the
// scripted button or sends it the scripted key, as the analyst's keyboard
// would. A box that opens with no answer left, or that a key does not close,
// is answered with its escape button, recorded, and counted as unexpected,
// so a test never hangs on a question it did not foresee.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

class ModalAnswerer : public QObject
{
public:
    struct Box
    {
        QString title, text;
        QMessageBox::Icon icon;
    };

    ModalAnswerer()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
        m_timer.start();
    }

    // The next box opened gets this button.
    void answer(QMessageBox::StandardButton button) { m_answers.append({button, 0}); }
    // The next box opened gets this key press (Return, Escape, ...).
    void press(Qt::Key key) { m_answers.append({QMessageBox::NoButton, key}); }
    // The next modal widget of any kind is handed to this function, which
    // must close it (a dialog with fields to fill, a print dialog).
    void handle(std::function<void(QWidget *)> handler) { m_handlers.append(std::move(handler)); }

    const QList<Box> &boxes() const { return m_boxes; }
    QStringList texts() const
    {
        QStringList result;
        for (const Box &box : m_boxes)
            result << box.text;
        return result;
    }
    int unexpected() const { return m_unexpected; }
    bool allAnswered() const { return m_answers.isEmpty() && m_handlers.isEmpty(); }
    void clear()
    {
        m_boxes.clear();
        m_unexpected = 0;
    }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_lastHandled)
            return;
        if (!m_handlers.isEmpty() && !qobject_cast<QMessageBox *>(modal)) {
            m_lastHandled = modal;
            m_handlers.takeFirst()(modal);
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box || !box->isVisible())
            return;
        m_lastHandled = box;
        m_boxes.append({box->windowTitle(), box->text(), box->icon()});
        const Answer answer = m_answers.isEmpty() ? Answer{QMessageBox::NoButton, -1} : m_answers.takeFirst();
        if (answer.key > 0) {
            QTest::keyClick(box, Qt::Key(answer.key));
            if (!box->isVisible())
                return;
        }
        m_unexpected += answer.key != 0;
        QAbstractButton *button = answer.key == 0 ? box->button(answer.button) : nullptr;
        if (!button)
            button = box->escapeButton();
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().first();
        if (button)
            button->click();
        else
            box->reject();
    }

    struct Answer
    {
        QMessageBox::StandardButton button;
        int key; // 0: click the button instead; -1: no answer was left
    };

    QTimer m_timer;
    QList<Answer> m_answers;
    QList<std::function<void(QWidget *)>> m_handlers;
    QList<Box> m_boxes;
    QPointer<QWidget> m_lastHandled;
    int m_unexpected = 0;
};
