#include "slips/PdfSlipSheet.h"

#include "list/LookAlikeFace.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPen>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

constexpr int Resolution = 600;
const QColor Ink(0, 0, 0);
const QColor LabelInk(90, 90, 90);
const QColor DigitInk(0, 70, 190);
const QColor SymbolInk(190, 0, 0);
// Light enough that a symbol printed on it stays legible in grey.
const QColor SymbolShade(225, 225, 225);
// The smallest print each text is drawn at: below them a name or password is no longer read with certainty.
constexpr qreal TitleFloor = 7;
constexpr qreal LabelFloor = 7;
constexpr qreal PersonFloor = 8;
constexpr qreal UsernameFloor = 8;
constexpr qreal PasswordFloor = 9;

enum class CharacterClass { Letter, Digit, Symbol };

CharacterClass classOf(QChar c)
{
    if (c.isDigit())
        return CharacterClass::Digit;
    if (c.isLetter())
        return CharacterClass::Letter;
    return CharacterClass::Symbol;
}

// The places just after each `separator` in `text`.
FittedText::Breaks afterEach(const QString& text, const QString& separator)
{
    FittedText::Breaks breaks;
    for (qsizetype at = text.indexOf(separator); at >= 0; at = text.indexOf(separator, at + separator.size()))
        breaks.append(at + separator.size());
    return breaks;
}

} // namespace

PdfSlipSheet::PdfSlipSheet(QIODevice& device, const SlipStyle& style)
    : separator_(style.separator), down_(std::max(style.perPage / Across, 1)), writer_(&device)
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
    personFont_ = QFont(QStringLiteral("Sans Serif"), qRound(12 * scale), QFont::Bold);
    usernameFont_ = evenLookAlikeFace(monospaceCandidates(qRound(14 * scale)));
    passwordFont_ = evenLookAlikeFace(monospaceCandidates(qRound(20 * scale)));
    passwordFont_.setBold(true);

    const QFont labelFont(QStringLiteral("Sans Serif"), qRound(8 * scale));
    usernameLabel_ = fitLine(QStringLiteral("Username"), {}, labelFont, LabelFloor, "label");
    passwordLabel_ = fitLine(QStringLiteral("Password"), {}, labelFont, LabelFloor, "label");
    if (!style.title.isEmpty()) {
        fittedTitle_ =
            fitLine(style.title, FittedText::betweenWords(style.title),
                    QFont(QStringLiteral("Sans Serif"), qRound(11 * scale), QFont::Bold), TitleFloor, "title");
    }
    if (!style.note.isEmpty() && usernameLabel_ && (style.title.isEmpty() || fittedTitle_))
        fittedNote_ = fitLine(style.note, FittedText::betweenWords(style.note), labelFont, LabelFloor, "note");
    ready_ = usernameLabel_ && passwordLabel_ && (style.title.isEmpty() || fittedTitle_)
        && (style.note.isEmpty() || fittedNote_);
}

qreal PdfSlipSheet::mm(qreal millimetres) const
{
    return millimetres * Resolution / 25.4;
}

// Every text is fitted before anything of the slip is drawn: a slip is drawn whole or not at all.
bool PdfSlipSheet::add(QByteArrayView usernameBytes, QByteArrayView passwordBytes, QByteArrayView personBytes)
{
    if (!ready_)
        return false;
    const QString username = QString::fromUtf8(usernameBytes);
    const QString password = QString::fromUtf8(passwordBytes);
    const QString person = QString::fromUtf8(personBytes);
    std::optional<FittedText> fittedPerson;
    if (!person.isEmpty()) {
        fittedPerson = fitLine(person, FittedText::betweenWords(person), personFont_, PersonFloor, "name");
        if (!fittedPerson)
            return false;
    }
    std::optional<FittedText> fittedUsername;
    if (!username.isEmpty()) {
        fittedUsername =
            fitLine(username, FittedText::betweenCharacters(username), usernameFont_, UsernameFloor, "username");
        if (!fittedUsername)
            return false;
    }
    const qreal gap = mm(1.5);
    qreal passwordTop = inside_.top() + passwordLabel_->height();
    if (fittedTitle_)
        passwordTop += fittedTitle_->height() + gap;
    if (fittedPerson)
        passwordTop += fittedPerson->height() + mm(1);
    if (fittedUsername)
        passwordTop += usernameLabel_->height() + fittedUsername->height() + gap;
    const qreal passwordBottom = fittedNote_ ? inside_.bottom() - fittedNote_->height() - mm(2) : inside_.bottom();
    const QSizeF passwordBox(inside_.width(), passwordBottom - passwordTop);
    // A passphrase keeps its words whole where it can: broken after its separators, and inside a word only
    // when one is too long for the slip on its own.
    std::optional<FittedText> fittedPassword;
    if (!separator_.isEmpty()) {
        fittedPassword = FittedText::fit(password, afterEach(password, separator_), passwordFont_, PasswordFloor,
                                         passwordBox, &writer_);
    }
    if (!fittedPassword) {
        fittedPassword = FittedText::fit(password, FittedText::betweenCharacters(password), passwordFont_,
                                         PasswordFloor, passwordBox, &writer_);
    }
    if (!fittedPassword)
        return refuse("password", PasswordFloor);

    const int onPage = int(slips_ % (Across * down_));
    if (slips_ > 0 && onPage == 0)
        writer_.newPage();
    if (onPage == 0)
        drawCutLines();
    ++slips_;

    painter_.save();
    painter_.translate((onPage % Across) * slip_.width(), (onPage / Across) * slip_.height());
    qreal top = inside_.top();
    if (fittedTitle_)
        top = drawLines(*fittedTitle_, Ink, top) + gap;
    if (fittedPerson)
        top = drawLines(*fittedPerson, Ink, top) + mm(1);
    if (fittedUsername) {
        top = drawLines(*usernameLabel_, LabelInk, top);
        top = drawLines(*fittedUsername, Ink, top) + gap;
    }
    drawPassword(*fittedPassword, drawLines(*passwordLabel_, LabelInk, top));
    if (fittedNote_)
        drawLines(*fittedNote_, Ink, passwordBottom + mm(2));
    painter_.restore();
    return true;
}

bool PdfSlipSheet::finish()
{
    return painter_.end();
}

// A line of the slip's width, a second one allowed once the text is drawn at three quarters of its size.
std::optional<FittedText> PdfSlipSheet::fitLine(const QString& text, const FittedText::Breaks& breaks,
                                                const QFont& font, qreal floorPoints, const char* what)
{
    const QSizeF box(inside_.width(), 1.5 * QFontMetricsF(font, &writer_).height());
    std::optional<FittedText> fitted = FittedText::fit(text, breaks, font, floorPoints, box, &writer_);
    if (!fitted)
        refuse(what, floorPoints);
    return fitted;
}

bool PdfSlipSheet::refuse(const char* what, qreal floorPoints)
{
    error_ =
        QStringLiteral("the %1 does not fit on a slip even at %2 pt").arg(QLatin1StringView(what)).arg(floorPoints);
    return false;
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

// Returns where the next text starts.
qreal PdfSlipSheet::drawLines(const FittedText& text, const QColor& colour, qreal top)
{
    const QFontMetricsF metrics(text.font(), &writer_);
    painter_.setFont(text.font());
    painter_.setPen(colour);
    for (const QString& line : text.lines()) {
        painter_.drawText(QPointF(inside_.left(), top + metrics.ascent()), line);
        top += text.lineHeight();
    }
    return top;
}

// Character by character, each at the face's advance so that a reader of the PDF still finds one word:
// letters plain, digits underlined in blue, symbols in red on a grey shade.
void PdfSlipSheet::drawPassword(const FittedText& password, qreal top)
{
    const QFontMetricsF metrics(password.font(), &writer_);
    qreal baseline = top + metrics.ascent();
    for (const QString& line : password.lines()) {
        qreal x = inside_.left();
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, line);
        for (qsizetype from = 0, to = characters.toNextBoundary(); to > 0;
             from = to, to = characters.toNextBoundary()) {
            const QString character = line.sliced(from, to - from);
            const qreal advance = FittedText::advance(metrics, character);
            const CharacterClass kind = classOf(character.front());
            QFont font = password.font();
            font.setUnderline(kind == CharacterClass::Digit);
            if (kind == CharacterClass::Symbol)
                painter_.fillRect(QRectF(x, baseline - metrics.ascent(), advance, metrics.height()), SymbolShade);
            painter_.setFont(font);
            painter_.setPen(kind == CharacterClass::Digit        ? DigitInk
                                : kind == CharacterClass::Symbol ? SymbolInk
                                                                 : Ink);
            painter_.drawText(QPointF(x, baseline), character);
            x += advance;
        }
        baseline += password.lineHeight();
    }
}
