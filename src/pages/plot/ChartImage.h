// A plot saved as a file, at the size it has on screen: a PNG of its pixels,
// or an SVG drawing in which axes, lines, points and labels stay shapes and
// text. Either file is written whole or not at all: it goes to a temporary
// file that replaces the target only once complete.
#pragma once

#include <QString>

class QGraphicsView;

class ChartImage
{
public:
    // False when the file could not be written.
    static bool writePng(QGraphicsView &view, const QString &fileName);
    static bool writeSvg(QGraphicsView &view, const QString &fileName, const QString &title);
};
