#include "engine/AnyPasswordMaker.h"

AnyPasswordMaker::AnyPasswordMaker(PasswordMaker maker) : maker_(std::move(maker)) { }

AnyPasswordMaker::AnyPasswordMaker(PassphraseMaker maker) : maker_(std::move(maker)) { }

AnyPasswordMaker::AnyPasswordMaker(RulesPasswordMaker maker, RandomSource& source)
    : maker_(std::move(maker)), source_(&source)
{
    usernamePool_.emplace(std::get<RulesPasswordMaker>(maker_).characters());
}

bool AnyPasswordMaker::makePassword(QByteArray& text)
{
    return std::visit([&text](auto& maker) { return maker.makePassword(text); }, maker_);
}

bool AnyPasswordMaker::makeUsername(QByteArray& text)
{
    if (auto* characters = std::get_if<PasswordMaker>(&maker_))
        return characters->makeText(text);
    if (auto* rules = std::get_if<RulesPasswordMaker>(&maker_)) {
        text.resize(rules->length());
        return usernamePool_->fill(text.data(), text.size(), *source_);
    }
    text.clear();
    return true;
}

double AnyPasswordMaker::entropyBits() const
{
    return std::visit([](const auto& maker) { return maker.entropyBits(); }, maker_);
}

QByteArrayView AnyPasswordMaker::separator() const
{
    if (const auto* words = std::get_if<PassphraseMaker>(&maker_))
        return words->separator();
    return {};
}
