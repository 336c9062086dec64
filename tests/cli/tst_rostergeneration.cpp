#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <crypt.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Outcome run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

Outcome cli(const QStringList& arguments, const QByteArray& input = {})
{
    return run(QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(VARNEL_CLI_FROM_TEST)),
               arguments, input);
}

// Debian's own Python, which has the LDIF reader.
QJsonDocument python(const char* script, const QByteArray& input)
{
    return QJsonDocument::fromJson(run(u"/usr/bin/python3"_s, {u"-c"_s, QString::fromUtf8(script)}, input).out);
}

// Saved by a spreadsheet in a European locale: a byte order mark, semicolons, CRLF.
const QByteArray EuropeanRoster = "\xef\xbb\xbf"
                                  "Vorname;Nachname;Klasse\r\n"
                                  "Zoë;Ångström;4a\r\n"
                                  "Łukasz;Żółć;4a\r\n"
                                  "Hans;Groß;4a\r\n"
                                  "王;伟;4a\r\n"
                                  "Seán;O'Brien;4a\r\n"
                                  "Mary-Jane;Smith;4a\r\n"
                                  "Anna;Berg;4a\r\n"
                                  "Anna;Berg;4a\r\n";
const QStringList EuropeanLogins{u"zoe.angstrom"_s, u"lukasz.zolc"_s,     u"hans.gross"_s, u"wang.wei"_s,
                                 u"sean.obrien"_s,  u"mary-jane.smith"_s, u"anna.berg"_s,  u"anna.berg2"_s};

constexpr char CsvReader[] = "import csv, io, json, sys\n"
                             "text = sys.stdin.buffer.read().decode('utf-8')\n"
                             "json.dump(list(csv.reader(io.StringIO(text, newline=''))), sys.stdout)\n";

int classesOf(const QString& password)
{
    bool upper = false, lower = false, digit = false, symbol = false;
    for (const QChar c : password) {
        upper = upper || c.isUpper();
        lower = lower || c.isLower();
        digit = digit || c.isDigit();
        symbol = symbol || !c.isLetterOrNumber();
    }
    return int(upper) + int(lower) + int(digit) + int(symbol);
}

bool hashMatches(const QByteArray& password, const QByteArray& hash)
{
    auto data = std::make_unique<crypt_data>();
    const char* made = crypt_rn(password.constData(), hash.constData(), data.get(), sizeof *data);
    return made && hash == made;
}

} // namespace

class TestRosterGeneration final : public QObject
{
    Q_OBJECT

private slots:
    void spreadsheetFilesReadBackExactly_data();
    void spreadsheetFilesReadBackExactly();
    void ldifEntriesReadBackAndVerify();
    void slipsNameThePersonAndCarryTheNote();
    void optionsThatCannotMeetTheTargetAreUsageErrors_data();
    void optionsThatCannotMeetTheTargetAreUsageErrors();
    void peopleThatCannotGoIntoTheRecordsNameTheirLine_data();
    void peopleThatCannotGoIntoTheRecordsNameTheirLine();
};

void TestRosterGeneration::spreadsheetFilesReadBackExactly_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("header");
    // Where the login, the first name, the e-mail and the password stand in a row; -1: nowhere.
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<int>("minLength");
    QTest::addColumn<int>("minClasses");

    QTest::newRow("google: Google's header, the names, login@domain and passwords of at least 8")
        << u"google"_s
        << QStringList{u"First Name [Required]"_s,
                       u"Last Name [Required]"_s,
                       u"Email Address [Required]"_s,
                       u"Password [Required]"_s,
                       u"Password Hash Function [UPLOAD ONLY]"_s,
                       u"Org Unit Path [Required]"_s}
        << QList<int>{-1, 0, 2, 3} << 8 << 0;
    QTest::newRow("entra: after the version line, passwords holding three of the four classes")
        << u"entra"_s
        << QStringList{u"Name [displayName] Required"_s,
                       u"User name [userPrincipalName] Required"_s,
                       u"Initial password [passwordProfile] Required"_s,
                       u"Block sign in (Yes/No) [accountEnabled] Required"_s,
                       u"First name [givenName]"_s,
                       u"Last name [surname]"_s}
        << QList<int>{-1, 4, 1, 2} << 8 << 3;
    QTest::newRow("moodle: its field names, passwords holding an upper, a lower, a digit and a symbol")
        << u"moodle"_s << QStringList{u"username"_s, u"firstname"_s, u"lastname"_s, u"email"_s, u"password"_s}
        << QList<int>{0, 1, 3, 4} << 8 << 4;
}

void TestRosterGeneration::spreadsheetFilesReadBackExactly()
{
    QFETCH(QString, format);
    QFETCH(QStringList, header);
    QFETCH(QList<int>, columns);
    QFETCH(int, minLength);
    QFETCH(int, minClasses);

    const Outcome outcome =
        cli({u"--roster"_s, u"-"_s, u"-F"_s, format, u"--domain"_s, u"school.example"_s}, EuropeanRoster);
    QCOMPARE(outcome.status, 0);
    QJsonArray rows = python(CsvReader, outcome.out).array();
    if (format == u"entra"_s)
        QCOMPARE(rows.takeAt(0).toArray().toVariantList(), QVariantList{u"version:v1.0"_s});
    QCOMPARE(rows.takeAt(0).toArray().toVariantList(), QVariant(header).toList());
    QCOMPARE(rows.size(), EuropeanLogins.size());
    const QStringList firsts{u"Zoë"_s,  u"Łukasz"_s,    u"Hans"_s, u"王"_s,
                             u"Seán"_s, u"Mary-Jane"_s, u"Anna"_s, u"Anna"_s};
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QJsonArray row = rows[i].toArray();
        QCOMPARE(row.size(), header.size());
        if (columns[0] >= 0)
            QCOMPARE(row[columns[0]].toString(), EuropeanLogins[i]);
        QCOMPARE(row[columns[1]].toString(), firsts[i]);
        QCOMPARE(row[columns[2]].toString(), EuropeanLogins[i] + u"@school.example"_s);
        const QString password = row[columns[3]].toString();
        QVERIFY2(password.size() >= minLength && classesOf(password) >= minClasses, qPrintable(password));
    }
}

void TestRosterGeneration::ldifEntriesReadBackAndVerify()
{
    QTemporaryDir folder;
    const QString plain = folder.filePath(u"plain.csv"_s);
    const Outcome outcome = cli({u"--roster"_s, u"-"_s, u"-F"_s, u"ldif"_s, u"--base-dn"_s, u"ou=4a,dc=school"_s,
                                 u"--hash"_s, u"sha512crypt"_s, u"--plain"_s, plain},
                                EuropeanRoster);
    QCOMPARE(outcome.status, 0);
    const QJsonArray entries = python("import ldif, io, json, sys\n"
                                      "parser = ldif.LDIFRecordList(io.BytesIO(sys.stdin.buffer.read()))\n"
                                      "parser.parse()\n"
                                      "json.dump([[dn, {k: [v.decode() for v in vs] for k, vs in e.items()}]"
                                      " for dn, e in parser.all_records], sys.stdout)\n",
                                      outcome.out)
                                   .array();
    QCOMPARE(entries.size(), EuropeanLogins.size());
    QFile passwords(plain);
    QVERIFY(passwords.open(QIODevice::ReadOnly));
    passwords.readLine();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QJsonArray entry = entries[i].toArray();
        const QJsonObject attributes = entry[1].toObject();
        QCOMPARE(entry[0].toString(), u"uid=%1,ou=4a,dc=school"_s.arg(EuropeanLogins[i]));
        QCOMPARE(attributes[u"uid"_s].toArray()[0].toString(), EuropeanLogins[i]);
        QVERIFY(attributes[u"objectClass"_s].toArray().contains(u"inetOrgPerson"_s));
        const QByteArray stored = attributes[u"userPassword"_s].toArray()[0].toString().toUtf8();
        QVERIFY2(stored.startsWith("{CRYPT}$6$"), stored.constData());
        const QByteArray password = passwords.readLine().trimmed().split(',').value(1);
        QVERIFY2(hashMatches(password, stored.mid(7)), EuropeanLogins[i].toUtf8().constData());
    }
    QCOMPARE(entries[0].toArray()[1].toObject()[u"cn"_s].toArray()[0].toString(), u"Zoë Ångström"_s);
    QCOMPARE(entries[3].toArray()[1].toObject()[u"sn"_s].toArray()[0].toString(), u"伟"_s);
}

void TestRosterGeneration::slipsNameThePersonAndCarryTheNote()
{
    QTemporaryDir folder;
    QByteArray roster = "name\n";
    for (int i = 1; i <= 12; ++i)
        roster += "Pupil Number" + QByteArray::number(i) + '\n';
    const QString slips = folder.filePath(u"slips.pdf"_s);
    const Outcome outcome = cli({u"--roster"_s, u"-"_s, u"-F"_s, u"table"_s, u"--slips"_s, slips, u"--per-page"_s,
                                 u"4"_s, u"--note"_s, u"Sign in at school.example"_s},
                                roster);
    QCOMPARE(outcome.status, 0);
    const QByteArray text = run(u"pdftotext"_s, {u"-raw"_s, slips, u"-"_s}).out;
    const QList<QByteArray> pages = text.split('\f');
    QCOMPARE(pages.size() - (pages.constLast().trimmed().isEmpty() ? 1 : 0), 3);
    QCOMPARE(text.count("Sign in at school.example"), 12);
    for (int i = 1; i <= 12; ++i) {
        const QByteArray name = "Pupil Number" + QByteArray::number(i) + '\n';
        QVERIFY2(text.contains(name + "Username\npupil.number" + QByteArray::number(i)), name.constData());
    }
}

void TestRosterGeneration::optionsThatCannotMeetTheTargetAreUsageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");

    const QStringList roster{u"--roster"_s, u"-"_s, u"--domain"_s, u"school.example"_s};
    QTest::newRow("Google refuses yescrypt hashes")
        << roster + QStringList{u"-F"_s, u"google"_s, u"--hash"_s, u"yescrypt"_s, u"--plain"_s, u"p"_s}
        << "--hash: Google Workspace refuses yescrypt"_ba;
    QTest::newRow("Google takes no password shorter than 8")
        << roster + QStringList{u"-F"_s, u"google"_s, u"-l"_s, u"7"_s}
        << "--length: Google Workspace takes passwords of at least 8"_ba;
    QTest::newRow("Entra takes no password longer than 256")
        << roster + QStringList{u"-F"_s, u"entra"_s, u"-l"_s, u"257"_s}
        << "--length: Microsoft Entra ID takes passwords of 8 to 256"_ba;
    QTest::newRow("Entra takes plain passwords only")
        << roster + QStringList{u"-F"_s, u"entra"_s, u"--hash"_s, u"sha512crypt"_s, u"--plain"_s, u"p"_s}
        << "--hash: Microsoft Entra ID takes plain passwords"_ba;
    QTest::newRow("digits alone cannot hold three classes for Entra")
        << roster + QStringList{u"-F"_s, u"entra"_s, u"-s"_s, u"numeric"_s} << "--style: Microsoft Entra ID asks"_ba;
    QTest::newRow("letters and digits cannot hold a symbol for Moodle")
        << roster + QStringList{u"-F"_s, u"moodle"_s, u"-s"_s, u"alphanumeric"_s} << "--style: Moodle asks"_ba;
    QTest::newRow("newusers hashes the passwords itself")
        << QStringList{u"--roster"_s, u"-"_s, u"-F"_s, u"newusers"_s, u"--hash"_s, u"yescrypt"_s, u"--plain"_s, u"p"_s}
        << "--hash: newusers takes plain passwords"_ba;
    QTest::newRow("a plain password in a directory")
        << QStringList{u"--roster"_s, u"-"_s, u"-F"_s, u"ldif"_s, u"--base-dn"_s, u"dc=x"_s}
        << "--hash: ldif records need it"_ba;
    QTest::newRow("ldif without a base DN")
        << QStringList{u"--roster"_s, u"-"_s, u"-F"_s, u"ldif"_s} << "--base-dn: ldif records need it"_ba;
    QTest::newRow("an org unit for a format without one")
        << roster + QStringList{u"-F"_s, u"moodle"_s, u"--org-unit"_s, u"/x"_s} << "--org-unit: moodle records have"_ba;
    QTest::newRow("google records without a roster") << QStringList{u"-F"_s, u"google"_s, u"-u"_s, u"numbered"_s}
                                                     << "--format: google records hold the people's names"_ba;
    QTest::newRow("an unknown placeholder in the login template")
        << roster + QStringList{u"--login"_s, u"{first}.{surname}"_s} << "--login: {surname} is not one of"_ba;
    QTest::newRow("a roster and a names list")
        << roster + QStringList{u"-f"_s, u"x"_s} << "--names: cannot be used with --roster"_ba;
    QTest::newRow("five slips a page") << roster + QStringList{u"--slips"_s, u"s.pdf"_s, u"--per-page"_s, u"5"_s}
                                       << "--per-page: '5' is not one of 10, 6, 4"_ba;
    QTest::newRow("a note without slips") << roster + QStringList{u"--note"_s, u"hi"_s} << "--note: needs --slips"_ba;
}

void TestRosterGeneration::optionsThatCannotMeetTheTargetAreUsageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);

    const Outcome outcome = cli(arguments, EuropeanRoster);
    QCOMPARE(outcome.status, 2);
    QVERIFY2(outcome.err.contains(error), outcome.err.constData());
    QVERIFY(outcome.out.isEmpty());
}

void TestRosterGeneration::peopleThatCannotGoIntoTheRecordsNameTheirLine_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("roster");
    QTest::addColumn<QByteArray>("error");

    QTest::newRow("a comma in a name cannot go into newusers' GECOS field")
        << u"newusers"_s << "first,last\nAl,Bo\n\"Cy, Jr\",Do\n"_ba
        << "standard input: line 3: a name holding ',' cannot go into a newusers record"_ba;
    QTest::newRow("google records without an e-mail address or --domain")
        << u"google"_s << "first,last\nAl,Bo\n"_ba
        << "standard input: line 2: google records need an e-mail address"_ba;
    QTest::newRow("root from a roster is no new account")
        << u"newusers"_s << "name,login\nAl Bo,ab\nRo Ot,root\n"_ba
        << "standard input: line 3: root is an account of the system"_ba;
    QTest::newRow("a name that a spreadsheet would run as a formula is refused")
        << u"moodle"_s << "first,last,email\n\"=HYPERLINK(\"\"http://x/\"\")\",Bo,a@b.c\n"_ba
        << "standard input: line 2: a first name starting with '=' is refused"_ba;
}

void TestRosterGeneration::peopleThatCannotGoIntoTheRecordsNameTheirLine()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, roster);
    QFETCH(QByteArray, error);

    const Outcome outcome = cli({u"--roster"_s, u"-"_s, u"-F"_s, format}, roster);
    QCOMPARE(outcome.status, 1);
    QVERIFY2(outcome.err.contains(error), outcome.err.constData());
    QVERIFY(outcome.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestRosterGeneration)
#include "tst_rostergeneration.moc"
