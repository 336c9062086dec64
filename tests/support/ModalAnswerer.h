#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QDialog;
class QFileDialog;
class QMessageBox;
class QWidget;

// Answers the real message boxes, file choosers and dialogs from a timer as a user would, so that the production
// desktop's modal loops are tested too; a step that never comes fails the test instead of hanging it.
class ModalAnswerer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModalAnswerer)

public:
    ModalAnswerer();

    // Types a name into a real file chooser and presses its accept button; a chooser lacking either is rejected.
    static void acceptFileName(QFileDialog& chooser, const QString& name);

    // Each is called once for every modal widget of its kind that shows; kinds without one are left alone.
    std::function<void(QFileDialog&)> onFileDialog;
    std::function<void(QMessageBox&)> onMessageBox;
    std::function<void(QDialog&)> onDialog;
    // What was answered, in order: "QFileDialog", "QMessageBox: " and its text, or the dialog's class name.
    QStringList seen;
    bool timedOut = false;

private:
    void answer();

    QTimer poll_;
    QTimer watchdog_;
    QList<QPointer<QWidget>> handled_;
};
