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
    return true;
}

bool SlipsOutput::add(const CredentialPair& pair)
{
    sheet_->add(pair.username, pair.password);
    return !output_.failed() || outputFailed();
}

bool SlipsOutput::commit()
{
    const bool ended = sheet_->finish();
    sheet_.reset();
    if (output_.failed())
        return outputFailed();
    if (!ended)
        return fail(QStringLiteral("the document could not be ended"));
    return output_.commit() || outputFailed();
}

bool SlipsOutput::fail(const QString& reason)
{
    errorString_ = reason;
    return false;
}
