// The BIG command.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "list/CBigViewDlg.h"

// The view shows the record as the last command left it: the controls are not read, so text typed
// since then is not shown, and nothing comes back from the view.
void CVarnelDlg::ShowLargePrint()
{
    CBigViewDlg view(this);
    view.username = options_.currentUsername;
    view.password = options_.currentPassword;
    desktop_.runModal(view);
}
