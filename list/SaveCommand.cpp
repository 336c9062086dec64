// The Save command: the list written to a file, oldest pair first.
#include "app/CVarnelDlg.h"

#include "list/ExportFormat.h"
#include "list/ResultList.h"
#include "prefs/SafeFileWriter.h"
#include "resources/Strings.h"

namespace {
constexpr qsizetype ChunkSize = 256 * 1024;
} // namespace

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
            const SaveLayout layout = options_.saveLayout.value_or(SaveLayout::Csv);
            const auto& rows = list_->rows();
            const std::size_t count = rows.size();
            // Each row passes through the edit fields on its way out, so they end showing the last
            // one written; only that last load can be seen, so the others are not made.
            QByteArray chunk;
            chunk.reserve(ChunkSize + 1024);
            for (std::size_t i = 0; i < count && !writer.hasError(); ++i) {
                appendExportRecord(chunk, rows[i].password, rows[i].username, layout, i + 1 == count);
                if (chunk.size() >= ChunkSize) {
                    writer.write(chunk);
                    chunk.resize(0);
                }
            }
            writer.write(chunk);
            if (count > 0 && !writer.hasError()) {
                LoadRow(static_cast<int>(count) - 1);
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
