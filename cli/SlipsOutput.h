#pragma once

#include "cli/OutputFile.h"
#include "engine/CredentialPair.h"
#include "os/OutputDevice.h"
#include "slips/SlipSheet.h"

#include <QString>

#include <memory>
#include <optional>

class SlipsLoader;

// The slips file: drawn page by page into a file that appears only once the document is whole.
class SlipsOutput
{
    Q_DISABLE_COPY_MOVE(SlipsOutput)

public:
    SlipsOutput(const QString& path, bool replace, const SlipsLoader& module, const SlipStyle& style);
    ~SlipsOutput();

    bool open();
    // The person's name goes above the username; none when empty.
    bool add(const CredentialPair& pair, QByteArrayView person = {});
    bool commit();

    QString name() const { return path_; }
    QString errorString() const { return errorString_; }

private:
    bool fail(const QString& reason);

    QString path_;
    const SlipsLoader& module_;
    SlipStyle style_;
    OutputFile file_;
    std::optional<OutputDevice> device_;
    std::unique_ptr<SlipSheet> sheet_;
    QString errorString_;
};
