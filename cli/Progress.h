#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// How far a long run has come, on one line of standard error when it is a terminal: the accounts done (of how
// many, when known), the rate, and the time left. Redrawn at most ten times a second; erased at the end, so
// that the terminal keeps only what the run says otherwise. Nothing at all when standard error is no terminal
// or the line is not wanted.
class Progress
{
    Q_DISABLE_COPY_MOVE(Progress)

public:
    // A total of 0: not known (names read as they come).
    Progress(bool wanted, quint64 total);
    ~Progress();

    // Inline, as it is called for every account: without a terminal, that is all it does.
    void show(quint64 done)
    {
        if (on_)
            draw(done);
    }
    void erase();

private:
    void draw(quint64 done);

    static constexpr qint64 Interval = 100;

    bool on_;
    quint64 total_;
    QElapsedTimer clock_;
    qint64 drawnAt_ = 0;
    bool drawn_ = false;
};
