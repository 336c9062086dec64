#pragma once

#include "FakeDesktop.h"
#include "ScriptedRandomSource.h"
#include "TemporaryWorkingDirectory.h"
#include "app/CVarnelDlg.h"
#include "engine/CredentialPair.h"

#include <QDir>
#include <QLineEdit>
#include <QList>

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
    // The same on another desktop (the real one, to drive its message boxes), in the fixture's directory.
    CVarnelDlg& openWith(Desktop& other);
    // Makes the open window the active one, so that keyboard focus and window shortcuts are real.
    bool activate();
    CVarnelDlg& window() { return *window_; }
    QString dir() const { return folder_.path(); }
    QString path(const QString& name) const { return folder_.filePath(name); }

    QLineEdit* edit(int id) const;
    QAbstractButton* button(int id) const;
    void click(int id);
    void type(int id, const QString& text);
    void triggerMenu(int commandId);

    // Real mouse clicks in the result list: on a row (with modifiers for several), or below the last row.
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {});
    void clickListBelowRows();
    // The text the list shows in a cell.
    QString shownCell(int row, int column) const;

    FakeDesktop desktop;
    ScriptedRandomSource scripted;

private:
    TemporaryWorkingDirectory folder_;
    RandomSource* random_;
    // Last, so that the window goes before its working directory does.
    std::unique_ptr<CVarnelDlg> window_;
};

// The pairs of the result list, top row first, as one list that a test compares whole.
QList<CredentialPair> rowsOf(const CVarnelDlg& window);
