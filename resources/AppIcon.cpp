#include "resources/AppIcon.h"

#include <QDirIterator>
#include <QPainter>
#include <QPainterPath>

namespace {
// The sixteen colours of the classic desktop palette.
const QList<QRgb>& sixteenColours()
{
    static const QList<QRgb> colours{
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return colours;
}

QImage drawPadlock(int size)
{
    QImage canvas(size, size, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    const double s = size / 32.0;
    painter.scale(s, s);

    // Shackle.
    QPen shackle(QColor(128, 128, 128), 4.0);
    painter.setPen(shackle);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(8, 3, 16, 18), 0, 180 * 16);
    painter.drawLine(QPointF(8, 12), QPointF(8, 16));
    painter.drawLine(QPointF(24, 12), QPointF(24, 16));

    // Body.
    painter.setPen(QPen(QColor(128, 128, 0), 1.5));
    painter.setBrush(QColor(255, 255, 0));
    painter.drawRect(QRectF(4, 14, 24, 16));

    // Keyhole.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    painter.drawEllipse(QRectF(13.5, 17, 5, 5));
    painter.drawRect(QRectF(15, 21, 2, 5));
    painter.end();

    // Keep to the sixteen colours; transparency stays as a mask.
    QImage indexed = canvas.convertToFormat(QImage::Format_Indexed8, sixteenColours(), Qt::ThresholdDither);
    QImage result = indexed.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (qAlpha(canvas.pixel(x, y)) < 128)
                result.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    }
    return result;
}
} // namespace

QImage appIconImage(int size)
{
    return drawPadlock(size);
}

QIcon appIcon()
{
    QIcon icon;
    for (const int size : appIconSizes)
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    QDirIterator rendered(QStringLiteral(":/icons/hicolor"), {QStringLiteral("varnel.png")}, QDir::Files,
                          QDirIterator::Subdirectories);
    while (rendered.hasNext())
        icon.addFile(rendered.next());
    return icon;
}

QPoint minimizedIconPosition(QSize clientSize, QSize iconSize)
{
    return {(clientSize.width() - iconSize.width() + 1) / 2, (clientSize.height() - iconSize.height() + 1) / 2};
}
