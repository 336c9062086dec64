#pragma once

#include "slips/SlipSheet.h"

#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>

// Ten slips a page, two across and five down, with dashed lines to cut along. Each slip holds the title,
// then the username and the password under their labels; the password is large, in a face whose
// look-alikes differ, and marks letters, digits and symbols apart in colour and in grey print alike.
class PdfSlipSheet final : public SlipSheet
{
    Q_DISABLE_COPY_MOVE(PdfSlipSheet)

public:
    PdfSlipSheet(QIODevice& device, const SlipStyle& style);

    void add(QByteArrayView username, QByteArrayView password) override;
    bool finish() override;

private:
    static constexpr int Across = 2;
    static constexpr int Down = 5;

    qreal mm(qreal millimetres) const;
    void drawCutLines();
    qreal drawLine(const QFont& font, const QColor& colour, const QString& text, qreal top);
    qreal drawPassword(const QString& password, qreal top);

    QString title_;
    QString separator_;
    QPdfWriter writer_;
    QPainter painter_;
    QRectF page_;
    QSizeF slip_;
    QRectF inside_;
    QFont titleFont_;
    QFont labelFont_;
    QFont usernameFont_;
    QFont passwordFont_;
    qint64 slips_ = 0;
};
