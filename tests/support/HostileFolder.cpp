#include "HostileFolder.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
constexpr uid_t OtherUser = 65534;
} // namespace

HostileFolder::HostileFolder()
{
    if (!runningAsRoot()) {
        root_ = qEnvironmentVariable("VARNEL_HOSTILE_FOLDER");
        if (root_.isEmpty() || !QFileInfo(path(u"vrn.ini"_s)).isSymLink())
            unavailable_ = u"no VARNEL_HOSTILE_FOLDER: as a user other than root, run the tests through "
                           "scripts/test-as-user.sh, which prepares it"_s;
        return;
    }
    root_ = own_.path();
    const auto make = [this](const QString& name, const QByteArray& bytes, mode_t mode) {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            error_ = u"cannot make "_s + name;
            return;
        }
        file.close();
        ::chmod(nativePath(path(name)).constData(), mode);
    };
    QDir().mkpath(path(u"planted"_s));
    ::chmod(nativePath(path()).constData(), 01777);
    ::chmod(nativePath(path(u"planted"_s)).constData(), 01777);
    make(u"victim"_s, "TOOLTIPS=no\n"_ba, 0600);
    make(u"planted/vrn.ini"_s, "TOOLTIPS=no\n"_ba, 0666);
    make(u"planted/out.csv"_s, "planted\n"_ba, 0666);
    if (!QFile::link(u"victim"_s, path(u"vrn.ini"_s))
        || ::lchown(nativePath(path(u"vrn.ini"_s)).constData(), OtherUser, OtherUser) != 0
        || ::chown(nativePath(path(u"planted/vrn.ini"_s)).constData(), OtherUser, OtherUser) != 0
        || ::chown(nativePath(path(u"planted/out.csv"_s)).constData(), OtherUser, OtherUser) != 0)
        error_ = u"cannot plant the other user's files"_s;
}

QString HostileFolder::path(const QString& name) const
{
    return name.isEmpty() ? root_ : QDir(root_).filePath(name);
}
