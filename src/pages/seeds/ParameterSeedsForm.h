// The widgets of the Parameter Seeds page: "Copy From Clipboard" above the
// table of seeds.
#pragma once

#include <QWidget>

class QPushButton;
class QTableView;

class ParameterSeedsForm : public QWidget
{
    Q_OBJECT

public:
    explicit ParameterSeedsForm(QWidget *parent = nullptr);

    QPushButton *copyFromClipboardButton() const { return m_copyFromClipboardButton; }
    QTableView *tableView() const { return m_tableView; }

signals:
    void copyFromClipboardRequest();

private:
    QPushButton *m_copyFromClipboardButton;
    QTableView *m_tableView;
};
