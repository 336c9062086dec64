#include "ScriptedRandomSource.h"

ScriptedRandomSource::ScriptedRandomSource(const QList<quint32>& script) : values(script.cbegin(), script.cend()) { }

std::span<const quint8> ScriptedRandomSource::take(std::size_t)
{
    if (drawn >= failAfter)
        return {};
    ++drawn;
    if (!values.empty()) {
        Q_ASSERT(values.front() < 256);
        byte_ = static_cast<quint8>(values.front());
        values.pop_front();
    } else {
        byte_ = counter_;
        counter_ = (counter_ + 1) % 128;
    }
    return {&byte_, 1};
}

QString ScriptedRandomSource::errorString() const
{
    return failure;
}
