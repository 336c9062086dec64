// The Save command: the list written to a file, oldest pair first.
#include "app/CVarnelDlg.h"

#include "list/ExportFormat.h"
#include "list/ResultList.h"
#include "prefs/SafeFileWriter.h"
#include "resources/Strings.h"

void CVarnelDlg::SaveList()
{
    CommandScope scope(*this);
    ReadControls();
    ReadControls();
    ReverseRows();

    // Cancelling is no error: nothing is written and nothing is said.
    if (const std::optional<QString> path = chooseFileKeepingDirectory(true)) {
        // The file holds passwords: a new one is for its owner's eyes only.
        SafeFileWriter writer(*path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (writer.open()) {
            ControlBatch batch(*this);
            const SaveLayout layout = options_.saveLayout.value_or(SaveLayout::Csv);
            const int rows = list_->rowCount();
            QByteArray record;
            for (int i = 0; i < rows && !writer.hasError(); ++i) {
                LoadRow(i);
                WriteControls();
                record.clear();
                appendExportRecord(record, options_.currentPassword, options_.currentUsername, layout, i == rows - 1);
                writer.write(record);
            }
            writer.commit();
        }
        if (writer.hasError())
            reportFileError(QString::fromLatin1(SaveErrorText), QString::fromLatin1(SaveErrorCaption), *path,
                            writer.errorString());
    }

    ReverseRows();
    WriteControls();
}

void CVarnelDlg::ReverseRows()
{
    list_->reverseRows();
    WriteControls();
}
