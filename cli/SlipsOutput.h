#pragma once

#include "cli/RecordOutput.h"
#include "engine/CredentialPair.h"
#include "slips/SlipSheet.h"

#include <QString>

#include <memory>

class SlipsLoader;

// The slips file: drawn page by page into a file that appears only once the document is whole (committed
// with the run's other files), or onto standard output ("-") as it is drawn. A text that cannot fit on its
// slip fails the run, naming the record.
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

    // Null for standard output.
    OutputFile* file() { return output_.file(); }
    QString name() const { return output_.name(); }
    QString errorString() const { return errorString_; }
    bool readerWentAway() const { return output_.readerWentAway(); }

private:
    bool fail(const QString& reason);
    bool outputFailed() { return fail(output_.errorString()); }

    const SlipsLoader& module_;
    SlipStyle style_;
    RecordOutput output_;
    std::unique_ptr<SlipSheet> sheet_;
    quint64 records_ = 0;
    QString errorString_;
};
