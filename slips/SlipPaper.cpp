#include "slips/SlipSheet.h"

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <cstdlib>

Paper paperOfLocale()
{
    // The territories whose paper is letter, as the C library's paper tables have it.
    static constexpr const char* LetterTerritories[] = {"US", "CA", "MX", "PR", "PH", "CL", "CO",
                                                        "CR", "DO", "GT", "NI", "PA", "SV", "VE"};
    QByteArray name;
    for (const char* variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
        name = qgetenv(variable);
        if (!name.isEmpty())
            break;
    }
    // language[_TERRITORY][.codeset][@modifier]
    const qsizetype underscore = name.indexOf('_');
    if (underscore < 0)
        return Paper::A4;
    const QByteArray territory = name.mid(underscore + 1, 2);
    return std::any_of(std::begin(LetterTerritories), std::end(LetterTerritories),
                       [&](const char* letter) { return territory == letter; })
        ? Paper::Letter
        : Paper::A4;
}
