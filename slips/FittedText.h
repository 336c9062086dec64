#pragma once

#include <QFont>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

class QFontMetricsF;
class QPaintDevice;

// A text laid out to fit a box: at its font's own size when it fits, otherwise at the largest size, in half
// points down to a floor, at which it does. It goes on to a further line only at one of its breaks, and
// only while the lines stay inside the box's height; nothing of it is ever left out.
class FittedText
{
public:
    // The places, as indexes into the text, where a line may end.
    using Breaks = QList<qsizetype>;
    // Between any two whole characters (user-perceived: a letter and its accents stay together).
    static Breaks betweenCharacters(const QString& text);
    // Where a line of prose may end: after spaces and hyphens, and as the script's own rules allow.
    static Breaks betweenWords(const QString& text);

    // How far a piece between two breaks moves the pen: a text drawn piece by piece is drawn at these.
    static qreal advance(const QFontMetricsF& metrics, QStringView piece);

    // None when the text does not fit even at the floor.
    static std::optional<FittedText> fit(const QString& text, const Breaks& breaks, const QFont& font,
                                         qreal floorPoints, const QSizeF& box, QPaintDevice* device);

    // The font at the size found.
    const QFont& font() const { return font_; }
    const QStringList& lines() const { return lines_; }
    qreal lineHeight() const { return lineHeight_; }
    qreal height() const { return lineHeight_ * qreal(lines_.size()); }

private:
    FittedText(const QFont& font, const QStringList& lines, qreal lineHeight);

    QFont font_;
    QStringList lines_;
    qreal lineHeight_ = 0;
};
