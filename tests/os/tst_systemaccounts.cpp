#include "TestFiles.h"
#include "os/SystemAccounts.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using Names = QSet<QByteArray>;

class TestSystemAccounts final : public QObject
{
    Q_OBJECT

private slots:
    void accountsOutsideTheUsersRangeAreTheSystems_data();
    void accountsOutsideTheUsersRangeAreTheSystems();
};

void TestSystemAccounts::accountsOutsideTheUsersRangeAreTheSystems_data()
{
    QTest::addColumn<QByteArray>("passwd");
    QTest::addColumn<QByteArray>("loginDefs");
    QTest::addColumn<Names>("names");

    const QByteArray debian = "root:x:0:0:root:/root:/bin/bash\ndaemon:x:1:1::/usr/sbin:/usr/sbin/nologin\n"
                              "alice:x:1000:1000::/home/alice:/bin/bash\nnobody:x:65534:65534::/:/usr/sbin/nologin\n";
    QTest::newRow("without login.defs, uids below 1000 and above 60000 are the system's")
        << debian << QByteArray() << Names{"root", "daemon", "nobody"};
    QTest::newRow("UID_MIN and UID_MAX of login.defs move the range, comments aside")
        << "svc:x:499:1::/:/bin/false\nbob:x:500:1::/:/bin/sh\ncarol:x:2000:1::/:/bin/sh\ndave:x:2001:1::/:/bin/sh\n"_ba
        << "# UID_MIN 5000\nUID_MIN\t\t 500\nUID_MAX 0x7d0\nGID_MIN 10\n"_ba << Names{"root", "svc", "dave"};
    QTest::newRow("root is the system's even when the passwd file cannot be read")
        << QByteArray() << QByteArray() << Names{"root"};
    QTest::newRow("comments, NIS entries, short lines and uids that are no number add nothing")
        << "#games:x:5:60\n+::::::\n-lp:::\nbroken\nodd:x:abc:1::/:/bin/sh\n:x:1:1::/:\n"_ba << QByteArray()
        << Names{"root"};
}

void TestSystemAccounts::accountsOutsideTheUsersRangeAreTheSystems()
{
    QFETCH(QByteArray, passwd);
    QFETCH(QByteArray, loginDefs);
    QFETCH(Names, names);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (!passwd.isEmpty())
        createFile(folder.filePath(u"passwd"_s), passwd);
    if (!loginDefs.isEmpty())
        createFile(folder.filePath(u"login.defs"_s), loginDefs);
    QCOMPARE(systemAccountNames(folder.filePath(u"passwd"_s), folder.filePath(u"login.defs"_s)), names);
}

QTEST_GUILESS_MAIN(TestSystemAccounts)
#include "tst_systemaccounts.moc"
