#include "prefs/HelpCommandTable.h"

#include <QCoreApplication>
#include <QDir>

#include <array>

// The maker's web site and addresses are build settings (VARNEL_WEB_SITE and the three VARNEL_*_EMAIL
// cache entries).
#if !defined(VARNEL_WEB_SITE) || !defined(VARNEL_SUPPORT_EMAIL) || !defined(VARNEL_BUG_EMAIL)                          \
    || !defined(VARNEL_SALES_EMAIL)
#error "The build must define VARNEL_WEB_SITE, VARNEL_SUPPORT_EMAIL, VARNEL_BUG_EMAIL and VARNEL_SALES_EMAIL"
#endif
#ifndef VARNEL_README_FROM_PROGRAM
#error "The build must define VARNEL_README_FROM_PROGRAM, the installed read-me's path from the program's folder"
#endif

namespace {
struct HelpRow
{
    HelpTopic topic;
    const char* verb;
    const char* scheme;
    const char* base;
    const char* rest;
    int showMode;
};

constexpr std::array HelpRows{
    HelpRow{HelpTopic::Manual, "open", "", VARNEL_WEB_SITE, "/varnel/help.htm", ShowHide},
    HelpRow{HelpTopic::Tutorials, "open", "", VARNEL_WEB_SITE, "/varnel/tut.htm", ShowHide},
    HelpRow{HelpTopic::Readme, "open", "", "", "readme.txt", ShowShow},
    HelpRow{HelpTopic::SupportOptions, "open", "", VARNEL_WEB_SITE, "/support.htm", ShowHide},
    HelpRow{HelpTopic::EmailSupport, nullptr, "mailto:", VARNEL_SUPPORT_EMAIL, "?subject=VarnelSupport", ShowNormal},
    HelpRow{HelpTopic::BugReport, nullptr, "mailto:", VARNEL_BUG_EMAIL, "?subject=BugReport", ShowNormal},
    HelpRow{HelpTopic::SalesSupport, nullptr, "mailto:", VARNEL_SALES_EMAIL, "?subject=VarnelSupport", ShowNormal},
    HelpRow{HelpTopic::MoreInfo, "open", "", VARNEL_WEB_SITE, "/varnel/", ShowHide},
};

QString& readmeInPlaceOfInstalled()
{
    static QString path;
    return path;
}
} // namespace

const MakerContacts& makerContacts()
{
    static const MakerContacts contacts{QString::fromUtf8(VARNEL_WEB_SITE), QString::fromUtf8(VARNEL_SUPPORT_EMAIL),
                                        QString::fromUtf8(VARNEL_BUG_EMAIL), QString::fromUtf8(VARNEL_SALES_EMAIL)};
    return contacts;
}

HelpCommand helpCommand(HelpTopic topic)
{
    for (const HelpRow& row : HelpRows) {
        if (row.topic == topic)
            return {QString::fromLatin1(row.verb),
                    QString::fromLatin1(row.scheme) + QString::fromUtf8(row.base) + QString::fromLatin1(row.rest),
                    row.showMode};
    }
    return {};
}

QString installedReadme()
{
    if (!readmeInPlaceOfInstalled().isEmpty())
        return readmeInPlaceOfInstalled();
    return QDir::cleanPath(
        QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(VARNEL_README_FROM_PROGRAM)));
}

void setInstalledReadme(const QString& path)
{
    readmeInPlaceOfInstalled() = path;
}
