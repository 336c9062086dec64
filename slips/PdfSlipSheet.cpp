#include "slips/PdfSlipSheet.h"

#include "list/LookAlikeFace.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPen>

#include <algorithm>

namespace {

constexpr int Resolution = 600;
const QColor Ink(0, 0, 0);
const QColor LabelInk(90, 90, 90);
const QColor DigitInk(0, 70, 190);
const QColor SymbolInk(190, 0, 0);
// Light enough that a symbol printed on it stays legible in grey.
const QColor SymbolShade(225, 225, 225);

enum class CharacterClass { Letter, Digit, Symbol };

CharacterClass classOf(QChar c)
{
    if (c.isDigit())
        return CharacterClass::Digit;
    if (c.isLetter())
        return CharacterClass::Letter;
    return CharacterClass::Symbol;
}

} // namespace

PdfSlipSheet::PdfSlipSheet(QIODevice& device, const SlipStyle& style)
    : title_(style.title), note_(style.note), down_(std::max(style.perPage / Across, 1)), writer_(&device)
{
    writer_.setResolution(Resolution);
    writer_.setCreator(QStringLiteral("varnel-cli"));
    writer_.setTitle(style.title.isEmpty() ? QStringLiteral("Passwords") : style.title);
    writer_.setPageLayout(QPageLayout(QPageSize(style.paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4),
                                      QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    painter_.begin(&writer_);
    page_ = QRectF(QPointF(0, 0), writer_.pageLayout().paintRectPixels(Resolution).size());
    slip_ = QSizeF(page_.width() / Across, page_.height() / down_);
    inside_ = QRectF(QPointF(0, 0), slip_).adjusted(mm(5), mm(4), -mm(5), -mm(4));

    // Ten slips a page have the smallest type; six and four have it in step with their height.
    const qreal scale = std::min(5.0 / down_, 2.0);
    titleFont_ = QFont(QStringLiteral("Sans Serif"), qRound(11 * scale), QFont::Bold);
    labelFont_ = QFont(QStringLiteral("Sans Serif"), qRound(8 * scale));
    personFont_ = QFont(QStringLiteral("Sans Serif"), qRound(12 * scale), QFont::Bold);
    usernameFont_ = evenLookAlikeFace(monospaceCandidates(qRound(14 * scale)));
    passwordFont_ = evenLookAlikeFace(monospaceCandidates(qRound(20 * scale)));
    passwordFont_.setBold(true);
}

qreal PdfSlipSheet::mm(qreal millimetres) const
{
    return millimetres * Resolution / 25.4;
}

void PdfSlipSheet::add(QByteArrayView username, QByteArrayView password, QByteArrayView person)
{
    const int onPage = int(slips_ % (Across * down_));
    if (slips_ > 0 && onPage == 0)
        writer_.newPage();
    if (onPage == 0)
        drawCutLines();
    ++slips_;

    painter_.save();
    painter_.translate((onPage % Across) * slip_.width(), (onPage / Across) * slip_.height());
    qreal top = inside_.top();
    if (!title_.isEmpty())
        top = drawLine(titleFont_, Ink, title_, top) + mm(1.5);
    if (!person.isEmpty())
        top = drawLine(personFont_, Ink, QString::fromUtf8(person), top) + mm(1);
    if (!username.isEmpty()) {
        top = drawLine(labelFont_, LabelInk, QStringLiteral("Username"), top);
        top = drawLine(usernameFont_, Ink, QString::fromUtf8(username), top) + mm(1.5);
    }
    top = drawLine(labelFont_, LabelInk, QStringLiteral("Password"), top);
    top = drawPassword(QString::fromUtf8(password), top);
    if (!note_.isEmpty())
        drawLine(labelFont_, Ink, note_, top + mm(2));
    painter_.restore();
}

bool PdfSlipSheet::finish()
{
    return painter_.end();
}

void PdfSlipSheet::drawCutLines()
{
    QPen pen(QColor(120, 120, 120));
    pen.setWidthF(mm(0.2));
    pen.setStyle(Qt::DashLine);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    for (int column = 0; column <= Across; ++column)
        painter_.drawLine(QPointF(column * slip_.width(), 0), QPointF(column * slip_.width(), page_.height()));
    for (int row = 0; row <= down_; ++row)
        painter_.drawLine(QPointF(0, row * slip_.height()), QPointF(page_.width(), row * slip_.height()));
}

// One line of text at `top`, clipped to the slip; returns where the next line starts.
qreal PdfSlipSheet::drawLine(const QFont& font, const QColor& colour, const QString& text, qreal top)
{
    const QFontMetricsF metrics(font, &writer_);
    painter_.setFont(font);
    painter_.setPen(colour);
    painter_.save();
    painter_.setClipRect(inside_);
    painter_.drawText(QPointF(inside_.left(), top + metrics.ascent()), text);
    painter_.restore();
    return top + metrics.height();
}

// Character by character, each at the face's advance so that a reader of the PDF still finds one word:
// letters plain, digits underlined in blue, symbols in red on a grey shade. A password too wide for the
// slip goes on over several lines.
qreal PdfSlipSheet::drawPassword(const QString& password, qreal top)
{
    const QFontMetricsF metrics(passwordFont_, &writer_);
    painter_.save();
    painter_.setClipRect(inside_);
    qreal x = inside_.left();
    qreal baseline = top + metrics.ascent();
    for (const QChar c : password) {
        const qreal advance = metrics.horizontalAdvance(c);
        if (x + advance > inside_.right() && x > inside_.left()) {
            x = inside_.left();
            baseline += metrics.height();
        }
        const CharacterClass kind = classOf(c);
        QFont font = passwordFont_;
        font.setUnderline(kind == CharacterClass::Digit);
        if (kind == CharacterClass::Symbol)
            painter_.fillRect(QRectF(x, baseline - metrics.ascent(), advance, metrics.height()), SymbolShade);
        painter_.setFont(font);
        painter_.setPen(kind == CharacterClass::Digit ? DigitInk : kind == CharacterClass::Symbol ? SymbolInk : Ink);
        painter_.drawText(QPointF(x, baseline), QString(c));
        x += advance;
    }
    painter_.restore();
    return baseline + metrics.descent();
}
