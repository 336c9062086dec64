#include "list/CBigViewDlg.h"

#include "resources/Accessibility.h"
#include "resources/DialogBuilder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {
void putText(QLineEdit* edit, const QByteArray& bytes)
{
    edit->setText(QString::fromUtf8(bytes));
    // A long password scrolls; it is read from its first character.
    edit->setCursorPosition(0);
}
} // namespace

CBigViewDlg::CBigViewDlg(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint)
{
    const DialogLayout& layout = bigViewLayout();
    setWindowTitle(QString::fromLatin1(layout.caption));
    setFont(dialogFont(layout.pointSize));
    const DialogUnits units = DialogUnits::forFont(font());
    const BuiltControls built = buildControls(this, layout, units);
    describeControls(built);

    // Passwords are read off this screen, so l, 1, I, O and 0 must not look alike.
    const QFont monospace = evenLookAlikeFace(monospaceCandidates(layout.pointSize));
    usernameEdit_ = qobject_cast<QLineEdit*>(built.byId.value(IdBigUsername));
    passwordEdit_ = qobject_cast<QLineEdit*>(built.byId.value(IdBigPassword));
    usernameEdit_->setFont(monospace);
    passwordEdit_->setFont(monospace);

    auto* ok = qobject_cast<QPushButton*>(built.byId.value(IdOk));
    connect(ok, &QPushButton::clicked, this, &CBigViewDlg::accept);
    ok->setFocus();
    setFixedSize(built.units.toPixelsX(layout.width), built.units.toPixelsY(layout.height));
}

void CBigViewDlg::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        putText(usernameEdit_, username);
        putText(passwordEdit_, password);
    }
    QDialog::showEvent(event);
}

void CBigViewDlg::accept()
{
    username = usernameEdit_->text().toUtf8();
    password = passwordEdit_->text().toUtf8();
    QDialog::accept();
}
