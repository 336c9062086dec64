#pragma once

#include "slips/FittedText.h"
#include "slips/SlipSheet.h"

#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>

#include <optional>

// Ten, six or four slips a page, two across, with dashed lines to cut along; fewer slips have larger type.
// Each slip holds the title, then the person's name, the username and the password under their labels, then
// the note; the password is large, in a face whose look-alikes differ, and marks letters, digits and symbols
// apart in colour and in grey print alike. A text too long for its place is drawn smaller, down to a floor,
// and never beyond its slip.
class PdfSlipSheet final : public SlipSheet
{
    Q_DISABLE_COPY_MOVE(PdfSlipSheet)

public:
    PdfSlipSheet(QIODevice& device, const SlipStyle& style);

    bool add(QByteArrayView username, QByteArrayView password, QByteArrayView person) override;
    bool finish() override;
    QString errorString() const override { return error_; }

private:
    static constexpr int Across = 2;

    qreal mm(qreal millimetres) const;
    std::optional<FittedText> fitLine(const QString& text, const FittedText::Breaks& breaks, const QFont& font,
                                      qreal floorPoints, const char* what);
    bool refuse(const char* what, qreal floorPoints);
    void drawCutLines();
    qreal drawLines(const FittedText& text, const QColor& colour, qreal top);
    void drawPassword(const FittedText& password, qreal top);

    QString separator_;
    int down_;
    QPdfWriter writer_;
    QPainter painter_;
    QRectF page_;
    QSizeF slip_;
    QRectF inside_;
    QFont personFont_;
    QFont usernameFont_;
    QFont passwordFont_;
    std::optional<FittedText> fittedTitle_;
    std::optional<FittedText> usernameLabel_;
    std::optional<FittedText> passwordLabel_;
    std::optional<FittedText> fittedNote_;
    bool ready_ = false;
    QString error_;
    qint64 slips_ = 0;
};
