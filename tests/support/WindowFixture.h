#pragma once

#include "FakeDesktop.h"
#include "app/CVarnelDlg.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

class QAbstractButton;

// A main window on a scripted desktop, started in a working directory of its own (where vrn.ini lives).
class WindowFixture
{
public:
    explicit WindowFixture(RandomSource* random = nullptr);
    ~WindowFixture();

    // Creates, initialises and shows the window; a vrn.ini may be put in dir() first.
    CVarnelDlg& open();
    CVarnelDlg& window() { return *window_; }
    QString dir() const { return tempDir_.path(); }
    QString path(const QString& name) const { return tempDir_.filePath(name); }

    QLineEdit* edit(int id) const;
    QAbstractButton* button(int id) const;
    void click(int id);
    void type(int id, const QString& text);
    void triggerMenu(int commandId);

    FakeDesktop desktop;
    ScriptedRandomSource scripted;

private:
    QTemporaryDir tempDir_;
    QString previousDir_;
    RandomSource* random_;
    std::unique_ptr<CVarnelDlg> window_;
};
