#include "slips/FittedText.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

#include <cmath>

namespace {

FittedText::Breaks boundaries(QTextBoundaryFinder::BoundaryType type, const QString& text)
{
    FittedText::Breaks breaks;
    QTextBoundaryFinder finder(type, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < text.size(); at = finder.toNextBoundary())
        breaks.append(at);
    return breaks;
}

// Spaces that end a line take room on it but leave no ink, so they never push it past the box.
qreal inkWidth(const QFontMetricsF& metrics, QStringView text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return FittedText::advance(metrics, text);
}

// As much on each line as its width holds, a line ending only at a break; none when a piece between two
// breaks is wider than the box on its own, or the lines are more than `maxLines`. A line fits both as one
// string and as its pieces side by side, so that it may be drawn either way.
std::optional<QStringList> breakIntoLines(const QString& text, const FittedText::Breaks& breaks,
                                          const QFontMetricsF& metrics, qreal width, qsizetype maxLines)
{
    QList<qsizetype> ends;
    for (const qsizetype at : breaks) {
        if (at > (ends.isEmpty() ? 0 : ends.back()) && at < text.size())
            ends.append(at);
    }
    ends.append(text.size());
    QList<qreal> advances;
    QList<qreal> inks;
    for (qsizetype piece = 0, from = 0; piece < ends.size(); from = ends[piece++]) {
        const QStringView part = QStringView(text).sliced(from, ends[piece] - from);
        advances.append(FittedText::advance(metrics, part));
        inks.append(part.back().isSpace() ? inkWidth(metrics, part) : advances.back());
    }

    QStringList lines;
    for (qsizetype first = 0, start = 0; first < ends.size();) {
        qsizetype last = first;
        for (qreal taken = 0; last < ends.size() && taken + inks[last] <= width; ++last)
            taken += advances[last];
        while (last > first && inkWidth(metrics, QStringView(text).sliced(start, ends[last - 1] - start)) > width)
            --last;
        if (last == first || lines.size() == maxLines)
            return std::nullopt;
        lines.append(text.sliced(start, ends[last - 1] - start));
        start = ends[last - 1];
        first = last;
    }
    return lines;
}

} // namespace

FittedText::FittedText(const QFont& font, const QStringList& lines, qreal lineHeight)
    : font_(font), lines_(lines), lineHeight_(lineHeight)
{ }

qreal FittedText::advance(const QFontMetricsF& metrics, QStringView piece)
{
    return piece.size() == 1 ? metrics.horizontalAdvance(piece.front()) : metrics.horizontalAdvance(piece.toString());
}

FittedText::Breaks FittedText::betweenCharacters(const QString& text)
{
    return boundaries(QTextBoundaryFinder::Grapheme, text);
}

FittedText::Breaks FittedText::betweenWords(const QString& text)
{
    return boundaries(QTextBoundaryFinder::Line, text);
}

std::optional<FittedText> FittedText::fit(const QString& text, const Breaks& breaks, const QFont& font,
                                          qreal floorPoints, const QSizeF& box, QPaintDevice* device)
{
    const auto atSize = [&](int halfPoints) -> std::optional<FittedText> {
        QFont sized = font;
        sized.setPointSizeF(halfPoints / 2.0);
        const QFontMetricsF metrics(sized, device);
        if (text.isEmpty())
            return FittedText(sized, {}, metrics.height());
        const auto maxLines = qsizetype(std::floor(box.height() / metrics.height()));
        // Most texts fit on one line at their own size, measured whole; piece by piece it adds up the same but
        // for kerning, which the monospaced faces drawn a character at a time do not have.
        if (maxLines >= 1 && inkWidth(metrics, text) <= box.width())
            return FittedText(sized, {text}, metrics.height());
        const std::optional<QStringList> lines = breakIntoLines(text, breaks, metrics, box.width(), maxLines);
        if (!lines)
            return std::nullopt;
        return FittedText(sized, *lines, metrics.height());
    };

    const int largest = qRound(font.pointSizeF() * 2);
    const int smallest = int(std::ceil(floorPoints * 2));
    std::optional<FittedText> best = atSize(largest);
    if (best || largest <= smallest)
        return best;
    best = atSize(smallest);
    if (!best)
        return std::nullopt;
    // Smaller sizes hold more: halve the sizes between one that fits and one that does not. Whatever size it
    // settles on has been laid out and fits.
    for (int fits = smallest, fails = largest; fails - fits > 1;) {
        const int middle = (fits + fails) / 2;
        if (std::optional<FittedText> found = atSize(middle)) {
            best = std::move(found);
            fits = middle;
        } else {
            fails = middle;
        }
    }
    return best;
}
