#pragma once

#include "cli/OutputFile.h"
#include "engine/CredentialPair.h"
#include "os/OutputDevice.h"
#include "slips/SlipSheet.h"

#include <QString>

#include <memory>
#include <optional>

class SlipsLoader;

// The slips file: drawn page by page into a file that appears only once the document is whole (committed
// with the run's other files). A text that cannot fit on its slip fails the run, naming the record.
class SlipsOutput
{
    Q_DISABLE_COPY_MOVE(SlipsOutput)

public:
    SlipsOutput(const QString& path, bool replace, const SlipsLoader& module, const SlipStyle& style);
    ~SlipsOutput();

    bool open();
    // The person's name goes above the username; none when empty.
    bool add(const CredentialPair& pair, QByteArrayView person = {});
    // Ends the document.
    bool finish();

    OutputFile& file() { return file_; }
    QString name() const { return file_.name(); }
    QString errorString() const { return errorString_; }

private:
    bool fail(const QString& reason);

    const SlipsLoader& module_;
    SlipStyle style_;
    OutputFile file_;
    std::optional<OutputDevice> device_;
    std::unique_ptr<SlipSheet> sheet_;
    quint64 records_ = 0;
    QString errorString_;
};
