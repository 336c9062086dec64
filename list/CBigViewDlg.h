#pragma once

#include <QByteArray>
#include <QDialog>
#include <QFont>
#include <QList>

class QLineEdit;
class QShowEvent;

// The first of the faces in which l, 1, I, O, 0 and W all take the same width, as in a monospaced face
// whose shapes tell them apart; the first face when none does.
QFont evenLookAlikeFace(const QList<QFont>& candidates);

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
