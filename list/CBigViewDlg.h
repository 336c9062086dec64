#pragma once

#include "list/LookAlikeFace.h"

#include <QByteArray>
#include <QDialog>

class QLineEdit;
class QShowEvent;

// The large-print view of one pair. It only shows: OK reads the edits back into its own fields, and
// nobody looks at them afterwards.
class CBigViewDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CBigViewDlg)

public:
    explicit CBigViewDlg(QWidget* parent = nullptr);

    QByteArray username;
    QByteArray password;

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* usernameEdit_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
};
