#include "cli/SlipsOutput.h"

#include "cli/SlipsLoader.h"

SlipsOutput::SlipsOutput(const QString& path, bool replace, const SlipsLoader& module, const SlipStyle& style)
    : module_(module), style_(style), output_(path, replace)
{ }

SlipsOutput::~SlipsOutput() = default;

bool SlipsOutput::open()
{
    if (!output_.open())
        return outputFailed();
    sheet_ = module_.makeSheet(output_.device(), style_);
    return sheet_->errorString().isEmpty() || fail(sheet_->errorString());
}

bool SlipsOutput::add(const CredentialPair& pair, QByteArrayView person)
{
    ++records_;
    if (!sheet_->add(pair.username, pair.password, person)) {
        const QString record = pair.username.isEmpty()
            ? QStringLiteral("record %1").arg(records_)
            : QStringLiteral("record %1 (username %2)").arg(records_).arg(QString::fromUtf8(pair.username));
        return fail(record + QStringLiteral(": ") + sheet_->errorString());
    }
    return !output_.failed() || outputFailed();
}

bool SlipsOutput::finish()
{
    const bool ended = sheet_->finish();
    sheet_.reset();
    if (output_.failed())
        return outputFailed();
    return ended || fail(QStringLiteral("the document could not be ended"));
}

bool SlipsOutput::fail(const QString& reason)
{
    errorString_ = reason;
    return false;
}
