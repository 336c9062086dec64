#include "cli/Progress.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

#include <unistd.h>

namespace {

QString duration(qint64 seconds)
{
    const QString minutesAndSeconds =
        QStringLiteral("%1:%2").arg(seconds / 60 % 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (seconds < 3600)
        return minutesAndSeconds;
    return QStringLiteral("%1:%2").arg(seconds / 3600).arg(minutesAndSeconds.rightJustified(5, QLatin1Char('0')));
}

// Back to the line's start and clear it.
constexpr char EraseLine[] = "\r\033[K";

} // namespace

Progress::Progress(bool wanted, quint64 total) : on_(wanted && ::isatty(STDERR_FILENO)), total_(total)
{
    if (on_)
        clock_.start();
}

Progress::~Progress()
{
    erase();
}

void Progress::draw(quint64 done)
{
    const qint64 now = clock_.elapsed();
    if (now - drawnAt_ < Interval)
        return;
    drawnAt_ = now;
    const double rate = double(done) * 1000 / double(now);
    QString line = QCoreApplication::applicationName() + QStringLiteral(": ") + QString::number(done);
    if (total_ > 0)
        line += QLatin1Char('/') + QString::number(total_);
    line += QStringLiteral(", %1/s").arg(rate, 0, 'f', rate < 10 ? 1 : 0);
    if (total_ > 0 && done > 0 && done <= total_)
        line += QStringLiteral(", %1 left").arg(duration(qint64(double(total_ - done) / rate + 0.5)));
    std::fputs((QLatin1String(EraseLine) + line).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    drawn_ = true;
}

void Progress::erase()
{
    if (!drawn_)
        return;
    std::fputs(EraseLine, stderr);
    std::fflush(stderr);
    drawn_ = false;
}
