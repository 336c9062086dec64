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

QMimeData* markedSecret(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(PasswordManagerHint, Secret);
    return data;
}

bool isMarked(const QMimeData* data)
{
    return data && data->data(PasswordManagerHint) == Secret;
}

class SystemClipboard final : public ClipboardStore
{
public:
    explicit SystemClipboard(QObject* parent) : ClipboardStore(parent)
    {
        connect(QGuiApplication::clipboard(), &QClipboard::changed, this, &ClipboardStore::changed);
    }

    bool owns(QClipboard::Mode mode) const override
    {
        const QClipboard* clipboard = QGuiApplication::clipboard();
        return mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
    }

    const QMimeData* mimeData(QClipboard::Mode mode) const override
    {
        return QGuiApplication::clipboard()->mimeData(mode);
    }

    void setMimeData(QMimeData* data, QClipboard::Mode mode) override
    {
        QGuiApplication::clipboard()->setMimeData(data, mode);
    }
};
} // namespace

PasswordClipboard::PasswordClipboard(QObject* parent) : QObject(parent)
{
    for (const QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection}) {
        QTimer& timer = held(mode).clearTimer;
        timer.setSingleShot(true);
        timer.setInterval(DefaultClearDelay);
        connect(&timer, &QTimer::timeout, this, [this, mode] { clearIfUnchanged(mode); });
    }
    setStore(*new SystemClipboard(this));
}

void PasswordClipboard::setClearDelay(std::chrono::milliseconds delay)
{
    for (Held& each : held_)
        each.clearTimer.setInterval(delay);
}

void PasswordClipboard::setStore(ClipboardStore& store)
{
    if (store_)
        disconnect(store_, nullptr, this, nullptr);
    store_ = &store;
    connect(store_, &ClipboardStore::changed, this, &PasswordClipboard::markSelection);
}

PasswordClipboard::Held& PasswordClipboard::held(QClipboard::Mode mode)
{
    return held_[mode == QClipboard::Selection ? 1 : 0];
}

void PasswordClipboard::put(QClipboard::Mode mode, const QString& text)
{
    Held& now = held(mode);
    now.text = text;
    now.holding = true;
    store_->setMimeData(markedSecret(text), mode);
    now.clearTimer.start();
}

void PasswordClipboard::copy(const QString& text)
{
    put(QClipboard::Clipboard, text);
}

void PasswordClipboard::clearIfUnchanged()
{
    clearIfUnchanged(QClipboard::Clipboard);
    clearIfUnchanged(QClipboard::Selection);
}

// Empty text marked secret takes the password's place: a selection given up would leave a clipboard
// keeper free to offer its own copy of the password again, unmarked.
void PasswordClipboard::clearIfUnchanged(QClipboard::Mode mode)
{
    Held& now = held(mode);
    now.clearTimer.stop();
    if (!now.holding)
        return;
    now.holding = false;
    const QMimeData* data = store_->mimeData(mode);
    if (isMarked(data) && data->text() == now.text)
        store_->setMimeData(markedSecret(QString()), mode);
    now.text.clear();
}

// The edits put what the user selects on the primary selection themselves, unmarked; it is marked at
// once, and taken off as a copied password is.
void PasswordClipboard::markSelection(QClipboard::Mode mode)
{
    if (mode != QClipboard::Selection || !store_->owns(mode))
        return;
    const QMimeData* data = store_->mimeData(mode);
    if (!data || isMarked(data) || !data->hasText())
        return;
    put(mode, data->text());
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
