#pragma once

#include <QClipboard>
#include <QObject>

class QMimeData;

// The clipboard and the primary selection as PasswordClipboard reaches them: the toolkit's own in the
// program, a stand-in in tests where the platform they run on has no primary selection.
class ClipboardStore : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClipboardStore)

public:
    using QObject::QObject;
    ~ClipboardStore() override = default;

    // Whether what the mode holds was put there by this program.
    virtual bool owns(QClipboard::Mode mode) const = 0;
    virtual const QMimeData* mimeData(QClipboard::Mode mode) const = 0;
    // Takes the data over.
    virtual void setMimeData(QMimeData* data, QClipboard::Mode mode) = 0;

signals:
    void changed(QClipboard::Mode mode);
};
