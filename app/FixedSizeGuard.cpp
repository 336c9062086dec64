#include "app/FixedSizeGuard.h"

#include <QEvent>
#include <QGuiApplication>
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
        // What the windowing system reports is the state it has configured, and the size that goes with it.
        if (handle_->windowStates() & SizeTakingStates) {
            letSizeGo();
            askForNormalState();
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
    connect(handle_, &QWindow::windowStateChanged, this, [this](Qt::WindowState state) {
        if (!SizeTakingStates.testFlag(state))
            return;
        // A Wayland compositor answers with a size that the very next frame must have, before the answer is
        // reported; elsewhere a size that comes with the answer is reported with it.
        if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
            letSizeGo();
        askForNormalState();
    });
}

void FixedSizeGuard::letSizeGo()
{
    released_ = true;
    window_.setMinimumSize(0, 0);
    window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void FixedSizeGuard::askForNormalState()
{
    QMetaObject::invokeMethod(
        this, [this] { window_.setWindowState(window_.windowState() & ~SizeTakingStates); }, Qt::QueuedConnection);
}
