// The symbol tool bars above a formula editor, one under the other, each
// behind a short caption taken from its window title ("Operators",
// "Parameters", "Functions"), so that the analyst can tell the bars apart
// and knows where names will appear while a bar is still empty.
#pragma once

#include <QList>
#include <QWidget>

class QToolBar;

class CaptionedToolBars : public QWidget
{
    Q_OBJECT

public:
    // Takes the tool bars in as children, in the order given.
    CaptionedToolBars(const QList<QToolBar *> &toolBars, QWidget *parent);
};
