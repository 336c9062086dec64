#pragma once

#include <QStringList>

class QWidget;

// What a user would find cut off or covered in a window, one sentence each: a caption that does not fit
// its control, a control reaching past the window's edge, two controls on top of each other, or a group
// box's caption lying on a control. Empty when nothing is.
QStringList layoutFaults(const QWidget& window);
