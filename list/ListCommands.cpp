// The main window's commands on the result list.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "app/PasswordClipboard.h"
#include "list/ColumnFitter.h"
#include "list/RecordWriter.h"
#include "list/ResultList.h"
#include "list/ResultListView.h"
#include "resources/Strings.h"

#include <QItemSelectionModel>

#include <algorithm>

void CVarnelDlg::SetUpColumns()
{
    // The model supplies the two columns and their headings; the view selects whole rows.
    FitColumns();
}

void CVarnelDlg::FitColumns()
{
    if (batchDepth_ > 0) {
        deferredFit_ = true;
        return;
    }
    fitter_->fit();
}

void CVarnelDlg::InsertCurrentPair()
{
    ReadControls();
    if (options_.currentPassword.isEmpty())
        return;
    list_->insertAtTop({options_.currentPassword, options_.currentUsername});
    FitColumns();
    WriteControls();
}

void CVarnelDlg::LoadRow(int row)
{
    const CredentialPair pair = list_->pairAt(row);
    options_.currentPassword = pair.password;
    options_.currentUsername = pair.username;
}

void CVarnelDlg::LoadSelectedRow()
{
    CommandScope scope(*this);
    ReadControls();
    LoadRow(listView_->selectionMark());
    WriteControls();
}

void CVarnelDlg::UpdateSelectedRow()
{
    CommandScope scope(*this);
    ReadControls();
    if (!options_.currentUsername.isEmpty())
        list_->setRow(listView_->selectionMark(), {options_.currentPassword, options_.currentUsername});
    FitColumns();
}

void CVarnelDlg::DeleteSelectedRow()
{
    list_->removeRowAt(listView_->selectionMark());
}

void CVarnelDlg::ClearList()
{
    if (desktop_.askYesNo(this, QString::fromLatin1(ClearQuestionText), QString::fromLatin1(ApplicationName)))
        list_->clear();
    WriteControls();
}

// Copy in the list: every selected row, top to bottom, as the records of a one-per-line export.
void CVarnelDlg::CopySelectedRows()
{
    QModelIndexList rows = listView_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QByteArray records;
    for (const QModelIndex& row : rows) {
        const CredentialPair pair = list_->pairAt(row.row());
        appendExportRecord(records, pair.password, pair.username, SaveLayout::OnePerLine, false);
    }
    records.chop(1);
    clipboard_->copy(QString::fromUtf8(records));
}
