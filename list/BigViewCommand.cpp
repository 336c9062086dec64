// The BIG command.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "app/PasswordClipboard.h"
#include "list/CBigViewDlg.h"

#include <QLineEdit>

// The view shows the record as the last command left it: the controls are not read, so text typed
// since then is not shown, and nothing comes back from the view.
void CVarnelDlg::ShowLargePrint()
{
    CBigViewDlg view(this);
    for (QLineEdit* edit : view.findChildren<QLineEdit*>())
        clipboard_->watch(edit);
    view.username = options_.currentUsername;
    view.password = options_.currentPassword;
    desktop_.runModal(view);
}
