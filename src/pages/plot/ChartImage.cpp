#include "ChartImage.h"

#include <QGraphicsView>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QSvgGenerator>

bool ChartImage::writePng(QGraphicsView &view, const QString &fileName)
{
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly) && view.viewport()->grab().save(&file, "PNG") && file.commit();
}

bool ChartImage::writeSvg(QGraphicsView &view, const QString &fileName, const QString &title)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(view.viewport()->size());
    generator.setViewBox(view.viewport()->rect());
    generator.setTitle(title);
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    view.render(&painter);
    painter.end();
    return file.commit();
}
