// The Save command: the list written to a file, oldest pair first.
#include "app/CVarnelDlg.h"

#include "list/RecordWriter.h"
#include "list/ResultList.h"
#include "os/SafeFileWriter.h"
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
            ExportWriter records(options_.saveLayout.value_or(SaveLayout::Csv),
                                 [&writer](QByteArrayView bytes) { return writer.write(bytes); });
            const auto& rows = list_->rows();
            for (const CredentialPair& row : rows) {
                if (!records.add(row.password, row.username))
                    break;
            }
            records.flush();
            // Each row passes through the edit fields on its way out, so they end showing the last
            // one written; only that last load can be seen, so the others are not made.
            if (!rows.empty() && !writer.hasError()) {
                LoadRow(static_cast<int>(rows.size()) - 1);
                WriteControls();
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
