#include "FailingDevice.h"
#include "prefs/PreferencesFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Unchanged = "unchanged"_ba;

QByteArray readFrom(const QByteArray& content, bool failsAtTheEnd)
{
    if (failsAtTheEnd) {
        FailingDevice device(content);
        return readTooltipsPreference(device, Unchanged);
    }
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return readTooltipsPreference(buffer, Unchanged);
}

} // namespace

class TestPreferencesFile : public QObject
{
    Q_OBJECT

private slots:
    void appliesLine_data();
    void appliesLine();
    void readsFile_data();
    void readsFile();
    void loadingLeavesPreferenceWhenFileCannotBeRead();
    void writesExactContent_data();
    void writesExactContent();
    void savedPreferenceLoadsBack();
    void tellsWhetherTooltipsAreOn_data();
    void tellsWhetherTooltipsAreOn();
};

void TestPreferencesFile::appliesLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("preference");

    QTest::newRow("TOOLTIPS=yes sets yes") << "TOOLTIPS=yes"_ba
                                           << "yes"_ba;
    QTest::newRow("TOOLTIPS=no sets no") << "TOOLTIPS=no"_ba
                                         << "no"_ba;
    QTest::newRow("an empty value sets an empty preference") << "TOOLTIPS="_ba
                                                             << ""_ba;
    QTest::newRow("the key alone without = sets an empty preference") << "TOOLTIPS"_ba
                                                                      << ""_ba;
    QTest::newRow("an = inside the value is dropped") << "TOOLTIPS=y=es"_ba
                                                      << "yes"_ba;
    QTest::newRow("a doubled = after the key is dropped") << "TOOLTIPS==no"_ba
                                                          << "no"_ba;
    QTest::newRow("trailing blanks, tabs and form controls are removed") << "TOOLTIPS=yes \t\v\f\r\n"_ba
                                                                         << "yes"_ba;
    QTest::newRow("a blank after = stays in the value") << "TOOLTIPS= yes"_ba
                                                        << " yes"_ba;
    QTest::newRow("a blank before a final = is no longer trailing and stays") << "TOOLTIPS=no ="_ba
                                                                              << "no "_ba;
    QTest::newRow("a blank before the key makes another key") << " TOOLTIPS=yes"_ba << Unchanged;
    QTest::newRow("a blank after the key makes another key") << "TOOLTIPS =yes"_ba << Unchanged;
    QTest::newRow("the key is case-sensitive") << "Tooltips=yes"_ba << Unchanged;
    QTest::newRow("a longer key is another key") << "TOOLTIPSX=yes"_ba << Unchanged;
    QTest::newRow("the CREATOR line is ignored") << "CREATOR=Varnel 1.0"_ba << Unchanged;
    QTest::newRow("a line starting with = has an empty key") << "=TOOLTIPS=yes"_ba << Unchanged;
    QTest::newRow("an empty line is ignored") << ""_ba << Unchanged;
    QTest::newRow("NUL and non-UTF-8 bytes in the value are kept")
        << QByteArray("TOOLTIPS=y\0\xff", 12) << QByteArray("y\0\xff", 3);
    QTest::newRow("a NUL in the key makes another key") << QByteArray("TOOLTIPS\0=yes", 13) << Unchanged;
}

void TestPreferencesFile::appliesLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, preference);

    QByteArray result = Unchanged;
    applyPreferencesLine(line, result);
    QCOMPARE(result, preference);
}

void TestPreferencesFile::readsFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("preference");
    QTest::addColumn<bool>("failsAtTheEnd");

    QTest::newRow("the file as the program writes it") << "CREATOR=Varnel 1.0\nTOOLTIPS=no\n\n"_ba
                                                       << "no"_ba << false;
    QTest::newRow("CRLF line ends are understood") << "CREATOR=Varnel 1.0\r\nTOOLTIPS=no\r\n\r\n"_ba
                                                   << "no"_ba << false;
    QTest::newRow("the last TOOLTIPS line wins") << "TOOLTIPS=no\nTOOLTIPS=yes\nX=1\n"_ba
                                                 << "yes"_ba << false;
    QTest::newRow("a later empty TOOLTIPS line wins too") << "TOOLTIPS=no\nTOOLTIPS=\n"_ba
                                                          << ""_ba << false;
    QTest::newRow("a last line without a line feed counts") << "CREATOR=x\nTOOLTIPS=no"_ba
                                                            << "no"_ba << false;
    QTest::newRow("a last line ending in a lone carriage return counts") << "TOOLTIPS=no\r"_ba
                                                                         << "no"_ba << false;
    QTest::newRow("a file without TOOLTIPS leaves the preference") << "CREATOR=Varnel 1.0\n\n"_ba << Unchanged << false;
    QTest::newRow("an empty file leaves the preference") << QByteArray() << Unchanged << false;
    QTest::newRow("a read error keeps the lines handled before it and drops the unfinished one")
        << "TOOLTIPS=no\nTOOLTIPS=yes"_ba
        << "no"_ba << true;
}

void TestPreferencesFile::readsFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, preference);
    QFETCH(bool, failsAtTheEnd);

    QCOMPARE(readFrom(content, failsAtTheEnd), preference);
}

void TestPreferencesFile::loadingLeavesPreferenceWhenFileCannotBeRead()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(loadTooltipsPreference(dir.filePath(PreferencesFileName), Unchanged), Unchanged);

    QVERIFY(QDir(dir.path()).mkdir(PreferencesFileName));
    QCOMPARE(loadTooltipsPreference(dir.filePath(PreferencesFileName), Unchanged), Unchanged);

    if (::geteuid() == 0)
        QSKIP("Root reads a file without read permission");
    const QString unreadable = dir.filePath(u"locked.ini"_s);
    QFile file(unreadable);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("TOOLTIPS=no\n");
    file.close();
    QVERIFY(::chmod(QFile::encodeName(unreadable).constData(), 0) == 0);
    QCOMPARE(loadTooltipsPreference(unreadable, Unchanged), Unchanged);
}

void TestPreferencesFile::writesExactContent_data()
{
    QTest::addColumn<QByteArray>("preference");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("yes is written after TOOLTIPS=") << "yes"_ba
                                                    << "CREATOR=Varnel 1.0\nTOOLTIPS=yes\n\n"_ba;
    QTest::newRow("an empty preference leaves the value empty") << ""_ba
                                                                << "CREATOR=Varnel 1.0\nTOOLTIPS=\n\n"_ba;
    QTest::newRow("any other bytes are written as they are") << "n\xffo"_ba
                                                             << "CREATOR=Varnel 1.0\nTOOLTIPS=n\xffo\n\n"_ba;
}

void TestPreferencesFile::writesExactContent()
{
    QFETCH(QByteArray, preference);
    QFETCH(QByteArray, content);

    QCOMPARE(preferencesFileContent(preference), content);
}

void TestPreferencesFile::savedPreferenceLoadsBack()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(PreferencesFileName);
    const mode_t oldMask = ::umask(022);
    QString error;
    const bool saved = savePreferencesFile(path, "no"_ba, &error);
    ::umask(oldMask);
    QVERIFY2(saved, qPrintable(error));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "CREATOR=Varnel 1.0\nTOOLTIPS=no\n\n"_ba);
    struct stat status = {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, mode_t(0600));
    QCOMPARE(loadTooltipsPreference(path, Unchanged), "no"_ba);

    QVERIFY(savePreferencesFile(path, ""_ba));
    QCOMPARE(loadTooltipsPreference(path, Unchanged), ""_ba);
}

void TestPreferencesFile::tellsWhetherTooltipsAreOn_data()
{
    QTest::addColumn<QByteArray>("preference");
    QTest::addColumn<bool>("on");

    QTest::newRow("yes turns tooltips on") << "yes"_ba << true;
    QTest::newRow("an empty preference turns tooltips on") << ""_ba << true;
    QTest::newRow("no turns tooltips off") << "no"_ba << false;
    QTest::newRow("Yes in another case turns tooltips off") << "Yes"_ba << false;
    QTest::newRow("yes with a blank before it turns tooltips off") << " yes"_ba << false;
    QTest::newRow("anything else turns tooltips off") << "maybe"_ba << false;
}

void TestPreferencesFile::tellsWhetherTooltipsAreOn()
{
    QFETCH(QByteArray, preference);
    QFETCH(bool, on);

    QCOMPARE(tooltipsOnFor(preference), on);
}

QTEST_GUILESS_MAIN(TestPreferencesFile)
#include "tst_preferencesfile.moc"
