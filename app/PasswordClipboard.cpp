#include "app/PasswordClipboard.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMetaMethod>
#include <QMimeData>

namespace {
// The mark that clipboard managers honour: they neither show nor keep an entry that carries it.
const QString PasswordManagerHint = QStringLiteral("x-kde-passwordManagerHint");
const QByteArray Secret = QByteArrayLiteral("secret");
} // namespace

PasswordClipboard::PasswordClipboard(QObject* parent) : QObject(parent)
{
    clearTimer_.setSingleShot(true);
    clearTimer_.setInterval(DefaultClearDelay);
    connect(&clearTimer_, &QTimer::timeout, this, &PasswordClipboard::clearIfUnchanged);
}

void PasswordClipboard::setClearDelay(std::chrono::milliseconds delay)
{
    clearTimer_.setInterval(delay);
}

void PasswordClipboard::copy(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(PasswordManagerHint, Secret);
    QGuiApplication::clipboard()->setMimeData(data);
    copied_ = text;
    holding_ = true;
    clearTimer_.start();
}

void PasswordClipboard::clearIfUnchanged()
{
    clearTimer_.stop();
    if (!holding_)
        return;
    holding_ = false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* now = clipboard->mimeData();
    if (now && now->data(PasswordManagerHint) == Secret && now->text() == copied_)
        clipboard->clear();
    copied_.clear();
}

void PasswordClipboard::watch(QLineEdit* edit)
{
    edit->installEventFilter(this);
}

bool PasswordClipboard::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool copy = key->matches(QKeySequence::Copy);
        if (!copy && !key->matches(QKeySequence::Cut))
            return false;
        copySelection(edit, !copy);
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        QMenu* menu = edit->createStandardContextMenu();
        takeOverCopyAndCut(menu, edit);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return false;
}

void PasswordClipboard::copySelection(QLineEdit* edit, bool cut)
{
    if (!edit->hasSelectedText() || edit->echoMode() != QLineEdit::Normal || (cut && edit->isReadOnly()))
        return;
    copy(edit->selectedText());
    if (cut)
        edit->del();
}

// The standard menu's Copy and Cut are wired to the edit's own slots, which would put the text on the
// clipboard unmarked; they are rewired here, and every other item keeps its usual work. The toolkit
// may have wired them by name or by function, so both kinds of connection are looked for.
void PasswordClipboard::takeOverCopyAndCut(QMenu* menu, QLineEdit* edit)
{
    const QMetaObject* actionClass = &QAction::staticMetaObject;
    const QMetaMethod triggeredByName = actionClass->method(actionClass->indexOfSignal("triggered()"));
    const auto wiredTo = [&](QAction* action, auto slot, const char* slotName) {
        const QMetaMethod byName = edit->metaObject()->method(edit->metaObject()->indexOfSlot(slotName));
        return disconnect(action, &QAction::triggered, edit, slot) || disconnect(action, triggeredByName, edit, byName);
    };
    for (QAction* action : menu->actions()) {
        if (wiredTo(action, &QLineEdit::copy, "copy()"))
            connect(action, &QAction::triggered, this, [this, edit] { copySelection(edit, false); });
        else if (wiredTo(action, &QLineEdit::cut, "cut()"))
            connect(action, &QAction::triggered, this, [this, edit] { copySelection(edit, true); });
    }
}
