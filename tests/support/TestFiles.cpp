#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>"_ba;
}

void createFile(const QString& path, const QByteArray& bytes, mode_t mode)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    QCOMPARE(::chmod(nativePath(path).constData(), mode), 0);
}

struct stat statusOf(const QString& path)
{
    struct stat status = {};
    if (::lstat(nativePath(path).constData(), &status) != 0)
        status.st_mode = 0;
    return status;
}

mode_t permissionsOf(const QString& path)
{
    return statusOf(path).st_mode & 07777;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}
