#include "cli/SlipsOutput.h"

#include "cli/SlipsLoader.h"

SlipsOutput::SlipsOutput(const QString& path, bool replace, const SlipsLoader& module, const SlipStyle& style)
    : module_(module), style_(style), file_(path, replace)
{ }

SlipsOutput::~SlipsOutput() = default;

bool SlipsOutput::open()
{
    if (!file_.open())
        return fail(file_.failure());
    device_.emplace(file_);
    sheet_ = module_.makeSheet(*device_, style_);
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
    return !file_.hasError() || fail(file_.failure());
}

bool SlipsOutput::finish()
{
    const bool ended = sheet_->finish();
    sheet_.reset();
    if (file_.hasError())
        return fail(file_.failure());
    return ended || fail(QStringLiteral("the document could not be ended"));
}

bool SlipsOutput::fail(const QString& reason)
{
    errorString_ = reason;
    return false;
}
