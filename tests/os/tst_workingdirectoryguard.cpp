#include "os/WorkingDirectoryGuard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

bool enter(const QString& path)
{
    return ::chdir(QFile::encodeName(path).constData()) == 0;
}

QString canonical(const QString& path)
{
    return QDir(path).canonicalPath();
}

} // namespace

class TestWorkingDirectoryGuard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void restoresTheDirectory();
    void restoresWhenLeftByException();
    void findsTheDirectoryAfterItWasRenamed();
    void usesThePathWhenTheDirectoryCannotBeOpened();

private:
    QString start_;
};

void TestWorkingDirectoryGuard::init()
{
    start_ = QDir::currentPath();
}

void TestWorkingDirectoryGuard::cleanup()
{
    enter(start_);
}

void TestWorkingDirectoryGuard::restoresTheDirectory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    {
        WorkingDirectoryGuard guard;
        QVERIFY(guard.isValid());
        QVERIFY(enter(dir.path()));
        QCOMPARE(QDir::currentPath(), canonical(dir.path()));
    }
    QCOMPARE(QDir::currentPath(), start_);
}

void TestWorkingDirectoryGuard::restoresWhenLeftByException()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    try {
        WorkingDirectoryGuard guard;
        QVERIFY(enter(dir.path()));
        throw std::runtime_error("save failed");
    } catch (const std::runtime_error&) { }
    QCOMPARE(QDir::currentPath(), start_);
}

void TestWorkingDirectoryGuard::findsTheDirectoryAfterItWasRenamed()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir root(dir.path());
    QVERIFY(root.mkdir(u"before"_s));
    QVERIFY(enter(root.filePath(u"before"_s)));
    {
        WorkingDirectoryGuard guard;
        QVERIFY(enter(dir.path()));
        QVERIFY(root.rename(u"before"_s, u"after"_s));
    }
    QCOMPARE(QDir::currentPath(), canonical(root.filePath(u"after"_s)));
}

void TestWorkingDirectoryGuard::usesThePathWhenTheDirectoryCannotBeOpened()
{
    if (::geteuid() == 0)
        QSKIP("Root opens a directory without read permission");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString searchOnly = QDir(dir.path()).filePath(u"search-only"_s);
    QVERIFY(QDir(dir.path()).mkdir(u"search-only"_s));
    QCOMPARE(::chmod(QFile::encodeName(searchOnly).constData(), 0111), 0);
    QVERIFY(enter(searchOnly));
    {
        WorkingDirectoryGuard guard;
        QVERIFY(guard.isValid());
        QVERIFY(enter(dir.path()));
    }
    QCOMPARE(QDir::currentPath(), canonical(dir.path()) + u"/search-only"_s);
    QVERIFY(enter(start_));
    QCOMPARE(::chmod(QFile::encodeName(searchOnly).constData(), 0755), 0);
}

QTEST_GUILESS_MAIN(TestWorkingDirectoryGuard)
#include "tst_workingdirectoryguard.moc"
