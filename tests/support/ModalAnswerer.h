// Answers the modal message boxes that the code under test opens, in the
// order they open: records each box's title and text and presses the
// scripted button. A box that opens with no answer left is answered with
// its escape button, recorded, and counted as unexpected, so a test never
// hangs on a question it did not foresee.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

class ModalAnswerer : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    ModalAnswerer()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
        m_timer.start();
    }

    // The next box opened gets this button.
    void answer(QMessageBox::StandardButton button) { m_answers.append(button); }
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
        QAbstractButton *button = nullptr;
        if (!m_answers.isEmpty())
            button = box->button(m_answers.takeFirst());
        else
            ++m_unexpected;
        if (!button)
            button = box->escapeButton();
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().first();
        if (button)
            button->click();
        else
            box->reject();
    }

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_answers;
    QList<std::function<void(QWidget *)>> m_handlers;
    QList<Box> m_boxes;
    QPointer<QWidget> m_lastHandled;
    int m_unexpected = 0;
};
