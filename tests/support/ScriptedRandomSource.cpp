#include "ScriptedRandomSource.h"

ScriptedRandomSource::ScriptedRandomSource(const QList<quint32>& script) : values(script.cbegin(), script.cend()) { }

quint32 ScriptedRandomSource::next32()
{
    ++drawn;
    if (!values.empty()) {
        const quint32 value = values.front();
        values.pop_front();
        return value;
    }
    return counter_++;
}
