#include "cli/SlipsOutput.h"

#include "cli/SlipsLoader.h"

SlipsOutput::SlipsOutput(const QString& path, bool replace, const SlipsLoader& module, const SlipStyle& style)
    : path_(path), module_(module), style_(style), file_(path, replace)
{ }

SlipsOutput::~SlipsOutput() = default;

bool SlipsOutput::open()
{
    if (!file_.open())
        return fail(file_.failure());
    device_.emplace(file_);
    sheet_ = module_.makeSheet(*device_, style_);
    return true;
}

bool SlipsOutput::add(const CredentialPair& pair, QByteArrayView person)
{
    sheet_->add(pair.username, pair.password, person);
    return !file_.hasError() || fail(file_.failure());
}

bool SlipsOutput::commit()
{
    const bool ended = sheet_->finish();
    sheet_.reset();
    if (file_.hasError())
        return fail(file_.failure());
    if (!ended)
        return fail(QStringLiteral("the document could not be ended"));
    return file_.commit() || fail(file_.failure());
}

bool SlipsOutput::fail(const QString& reason)
{
    errorString_ = reason;
    return false;
}
