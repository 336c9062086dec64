#pragma once

#include <QIcon>
#include <QImage>
#include <QPoint>
#include <QSize>

// The application icon (icon 128): a padlock in the sixteen standard colours, at 32x32 and 16x16.
inline constexpr int appIconSizes[] = {32, 16};
QImage appIconImage(int size);
// Those two images and, for larger screens and scales, the sizes rendered from the scalable padlock.
QIcon appIcon();

// Where a minimised window draws its icon: centred in the client area, in signed division that
// truncates toward zero, so a client narrower than the icon gives a negative or zero offset.
QPoint minimizedIconPosition(QSize clientSize, QSize iconSize);
