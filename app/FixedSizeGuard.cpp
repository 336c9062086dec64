#include "app/FixedSizeGuard.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {
constexpr Qt::WindowStates SizeTakingStates = Qt::WindowMaximized | Qt::WindowFullScreen;
}

FixedSizeGuard::FixedSizeGuard(QWidget& window) : QObject(&window), window_(window), size_(window.minimumSize())
{
    window.installEventFilter(this);
}

bool FixedSizeGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::Show && window_.windowHandle() != handle_) {
        watch(window_.windowHandle());
    } else if (watched == handle_ && event->type() == QEvent::WindowStateChange && event->spontaneous()) {
        // What the windowing system reports is the state it has configured.
        const Qt::WindowStates states = handle_->windowStates();
        if (states & SizeTakingStates) {
            release();
        } else if (released_) {
            released_ = false;
            window_.setFixedSize(size_);
        }
    }
    return false;
}

void FixedSizeGuard::watch(QWindow* handle)
{
    handle_ = handle;
    if (!handle_)
        return;
    handle_->installEventFilter(this);
    // Told at once when the window asks to be maximized, before the windowing system answers.
    connect(handle_, &QWindow::windowStateChanged, this, [this](Qt::WindowState state) {
        if (SizeTakingStates.testFlag(state))
            release();
    });
}

void FixedSizeGuard::release()
{
    released_ = true;
    window_.setMinimumSize(0, 0);
    window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QMetaObject::invokeMethod(
        this, [this] { window_.setWindowState(window_.windowState() & ~SizeTakingStates); }, Qt::QueuedConnection);
}
