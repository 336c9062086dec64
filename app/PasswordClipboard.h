#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

class QLineEdit;
class QMenu;

// Puts passwords on the clipboard marked as secret, so that clipboard managers do not keep them, and
// takes them off again after a while, or when the program ends, unless something else was copied since.
class PasswordClipboard final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PasswordClipboard)

public:
    static constexpr std::chrono::milliseconds DefaultClearDelay{30'000};

    explicit PasswordClipboard(QObject* parent = nullptr);

    void setClearDelay(std::chrono::milliseconds delay);
    void copy(const QString& text);
    // Empties the clipboard if it still holds exactly what copy() put there.
    void clearIfUnchanged();
    // Copy and Cut in the edit, from the keyboard and from its context menu, go through copy().
    void watch(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copySelection(QLineEdit* edit, bool cut);
    void takeOverCopyAndCut(QMenu* menu, QLineEdit* edit);

    QTimer clearTimer_;
    QString copied_;
    bool holding_ = false;
};
