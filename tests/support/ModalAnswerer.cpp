#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

using namespace Qt::StringLiterals;

ModalAnswerer::ModalAnswerer()
{
    poll_.setInterval(50);
    connect(&poll_, &QTimer::timeout, this, &ModalAnswerer::answer);
    // After a few seconds every modal widget is rejected, so that the modal loop the test waits in ends.
    watchdog_.setSingleShot(true);
    watchdog_.setInterval(8000);
    connect(&watchdog_, &QTimer::timeout, this, [this] { timedOut = true; });
    poll_.start();
    watchdog_.start();
}

void ModalAnswerer::acceptFileName(QFileDialog& chooser, const QString& name)
{
    auto* edit = chooser.findChild<QLineEdit*>(u"fileNameEdit"_s);
    auto* buttons = chooser.findChild<QDialogButtonBox*>(u"buttonBox"_s);
    if (!edit || !buttons) {
        chooser.reject();
        return;
    }
    edit->setFocus();
    QTest::keyClicks(edit, name);
    for (QAbstractButton* button : buttons->buttons()) {
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    chooser.reject();
}

void ModalAnswerer::answer()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (timedOut) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        else
            modal->close();
        return;
    }
    if (handled_.contains(modal))
        return;
    // Each answer is queued rather than given in this slot: an answer may open the next modal widget, whose own
    // loop must leave the timer free to find it.
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    auto* box = qobject_cast<QMessageBox*>(modal);
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (chooser && onFileDialog) {
        handled_.append(modal);
        seen.append(u"QFileDialog"_s);
        QTimer::singleShot(0, chooser, [this, chooser] { onFileDialog(*chooser); });
    } else if (box && onMessageBox) {
        handled_.append(modal);
        seen.append(u"QMessageBox: "_s + box->text());
        QTimer::singleShot(0, box, [this, box] { onMessageBox(*box); });
    } else if (dialog && !chooser && !box && onDialog) {
        handled_.append(modal);
        seen.append(QString::fromLatin1(dialog->metaObject()->className()));
        QTimer::singleShot(0, dialog, [this, dialog] { onDialog(*dialog); });
    }
}
