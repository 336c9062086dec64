#pragma once

#include "app/ClipboardStore.h"

#include <QClipboard>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <chrono>

class QLineEdit;
class QMenu;
class QMimeData;

// Puts passwords on the clipboard marked as secret, so that clipboard managers do not keep them, and
// takes them off again after a while, or when the program ends, unless something else was copied since.
// What the program's edits put on the primary selection is marked and taken off on the same terms.
class PasswordClipboard final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PasswordClipboard)

public:
    static constexpr std::chrono::milliseconds DefaultClearDelay{30'000};

    explicit PasswordClipboard(QObject* parent = nullptr);

    void setClearDelay(std::chrono::milliseconds delay);
    // The system clipboard unless a store is given; the store must outlive its use here.
    void setStore(ClipboardStore& store);
    void copy(const QString& text);
    // Empties the clipboard and the selection where each still holds exactly what was put there.
    void clearIfUnchanged();
    // Copy and Cut in the edit, from the keyboard and from its context menu, go through copy().
    void watch(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Held
    {
        QTimer clearTimer;
        QString text;
        bool holding = false;
    };

    Held& held(QClipboard::Mode mode);
    void put(QClipboard::Mode mode, const QString& text);
    void clearIfUnchanged(QClipboard::Mode mode);
    void markSelection(QClipboard::Mode mode);
    void copySelection(QLineEdit* edit, bool cut);
    void takeOverCopyAndCut(QMenu* menu, QLineEdit* edit);

    ClipboardStore* store_ = nullptr;
    // The clipboard's, then the selection's.
    std::array<Held, 2> held_;
};
