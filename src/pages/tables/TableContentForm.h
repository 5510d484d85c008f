// The widgets of a result table page: "Save to File..." and "Copy to
// Clipboard" above the table.
#pragma once

#include <QWidget>

class PelkTableView;
class QPushButton;

class TableContentForm : public QWidget
{
    Q_OBJECT

public:
    explicit TableContentForm(QWidget *parent = nullptr);

    QPushButton *saveToFileButton() const { return m_saveToFileButton; }
    QPushButton *copyToClipboardButton() const { return m_copyToClipboardButton; }
    PelkTableView *tableView() const { return m_tableView; }

signals:
    void saveToFileClicked();
    void copyToClipboardClicked();

private:
    QPushButton *m_saveToFileButton;
    QPushButton *m_copyToClipboardButton;
    PelkTableView *m_tableView;
};
