// Every table of PELK shows its row and column headers in bold.
#pragma once

#include <QFont>

inline QFont boldHeaderFont()
{
    QFont font;
    font.setBold(true);
    return font;
}
