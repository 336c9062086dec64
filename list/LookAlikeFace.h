#pragma once

#include <QFont>
#include <QList>

// The first of the faces in which l, 1, I, O, 0 and W all take the same width, as in a monospaced face
// whose shapes tell them apart; the first face when none does.
QFont evenLookAlikeFace(const QList<QFont>& candidates);

// The system's fixed face first, then every face the font database calls fixed, then the rest, all at
// the size given.
QList<QFont> monospaceCandidates(int pointSize);
