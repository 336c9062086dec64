#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>

class QWindow;
class QWidget;

// Keeps a fixed-size top-level window at its size and in its normal state, whatever the windowing system
// is asked. A Wayland compositor that is asked to maximize (Qt 6.4 draws a Maximize button in its own title
// bar whatever the window's hints) configures the maximized size and ends a client whose next frame has
// another: so while a maximize is under way the window may take the size it is given, then it asks to be
// normal again and takes its own size back once the windowing system says it is.
class FixedSizeGuard final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FixedSizeGuard)

public:
    // The window already has its fixed size; the guard belongs to it.
    explicit FixedSizeGuard(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWindow* handle);
    void letSizeGo();
    void askForNormalState();

    QWidget& window_;
    const QSize size_;
    QPointer<QWindow> handle_;
    bool released_ = false;
};
