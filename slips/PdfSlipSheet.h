#pragma once

#include "slips/SlipSheet.h"

#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>

// Ten, six or four slips a page, two across, with dashed lines to cut along; fewer slips have larger type.
// Each slip holds the title, then the person's name, the username and the password under their labels, then
// the note; the password is large, in a face whose
// look-alikes differ, and marks letters, digits and symbols apart in colour and in grey print alike.
class PdfSlipSheet final : public SlipSheet
{
    Q_DISABLE_COPY_MOVE(PdfSlipSheet)

public:
    PdfSlipSheet(QIODevice& device, const SlipStyle& style);

    void add(QByteArrayView username, QByteArrayView password, QByteArrayView person) override;
    bool finish() override;

private:
    static constexpr int Across = 2;

    qreal mm(qreal millimetres) const;
    void drawCutLines();
    qreal drawLine(const QFont& font, const QColor& colour, const QString& text, qreal top);
    qreal drawPassword(const QString& password, qreal top);

    QString title_;
    QString note_;
    int down_;
    QPdfWriter writer_;
    QPainter painter_;
    QRectF page_;
    QSizeF slip_;
    QRectF inside_;
    QFont titleFont_;
    QFont labelFont_;
    QFont personFont_;
    QFont usernameFont_;
    QFont passwordFont_;
    qint64 slips_ = 0;
};
