#include "engine/LoginName.h"

#include <QtTest>

namespace {

RosterPerson person(const char* first, const char* last, qsizetype line, const char* group = "")
{
    RosterPerson made;
    made.first = first;
    made.last = last;
    made.fullName = (made.first + ' ' + made.last).trimmed();
    made.group = group;
    made.line = line;
    return made;
}

} // namespace

class TestLoginName final : public QObject
{
    Q_OBJECT

private slots:
    void loginsAreFoldedFromNames_data();
    void loginsAreFoldedFromNames();
    void givenUsernamesWinAndEqualOnesAreRefused_data();
    void givenUsernamesWinAndEqualOnesAreRefused();
};

void TestLoginName::loginsAreFoldedFromNames_data()
{
    QTest::addColumn<QString>("loginTemplate");
    QTest::addColumn<QList<QByteArray>>("names");
    QTest::addColumn<QList<QByteArray>>("logins");

    const QString dotted = QStringLiteral("{first}.{last}");
    QTest::newRow("Polish letters fold to their base letters")
        << dotted << QList<QByteArray>{"Łukasz", "Żółć"} << QList<QByteArray>{"lukasz.zolc"};
    QTest::newRow("sharp s becomes ss") << QStringLiteral("{last}") << QList<QByteArray>{"Hans", "Groß"}
                                        << QList<QByteArray>{"gross"};
    QTest::newRow("Chinese names are spelt in pinyin")
        << dotted << QList<QByteArray>{"王", "伟"} << QList<QByteArray>{"wang.wei"};
    QTest::newRow("apostrophes and spaces are dropped, accents folded")
        << dotted << QList<QByteArray>{"Seán", "O'Brien"} << QList<QByteArray>{"sean.obrien"};
    QTest::newRow("hyphens are kept") << QStringLiteral("{first}") << QList<QByteArray>{"Mary-Jane", "Doe"}
                                      << QList<QByteArray>{"mary-jane"};
    QTest::newRow("the second and third equal logins get 2 and 3")
        << dotted << QList<QByteArray>{"Anna", "Berg", "Anna", "Berg", "Anna", "Berg"}
        << QList<QByteArray>{"anna.berg", "anna.berg2", "anna.berg3"};
    QTest::newRow("initials and the class fill their placeholders")
        << QStringLiteral("{class}-{f}{l}") << QList<QByteArray>{"Émile", "Zola"} << QList<QByteArray>{"b7-ez"};
    QTest::newRow("a login starts with a letter")
        << QStringLiteral("{class}{last}") << QList<QByteArray>{"Al", "Bo"} << QList<QByteArray>{"bbo"};
    QTest::newRow("a long name is cut to 32 characters, its number included")
        << dotted
        << QList<QByteArray>{"Maximiliana-Konstantina", "Wolfeschlegelsteinhausen", "Maximiliana-Konstantina",
                             "Wolfeschlegelsteinhausen"}
        << QList<QByteArray>{"maximiliana-konstantina.wolfesch", "maximiliana-konstantina.wolfesc2"};
}

void TestLoginName::loginsAreFoldedFromNames()
{
    QFETCH(QString, loginTemplate);
    QFETCH(QList<QByteArray>, names);
    QFETCH(QList<QByteArray>, logins);

    std::vector<RosterPerson> people;
    for (qsizetype i = 0; i + 1 < names.size(); i += 2)
        people.push_back(person(names[i], names[i + 1], i / 2 + 2, names[0] == "Al" ? "7B" : "B7"));
    QCOMPARE(assignLogins(people, loginTemplate), QString());
    QList<QByteArray> made;
    for (const RosterPerson& p : people)
        made.append(p.username);
    QCOMPARE(made, logins);
}

void TestLoginName::givenUsernamesWinAndEqualOnesAreRefused_data()
{
    QTest::addColumn<QList<QByteArray>>("given");
    QTest::addColumn<QList<QByteArray>>("logins");
    QTest::addColumn<QString>("error");

    QTest::newRow("a given username is kept as it is and a made one steps around it")
        << QList<QByteArray>{"Anna.Berg", "", "anna.berg"} << QList<QByteArray>{"Anna.Berg", "anna.berg2", "anna.berg"}
        << QString();
    QTest::newRow("two equal given usernames are an error naming both lines")
        << QList<QByteArray>{"ab", "", "ab"} << QList<QByteArray>{}
        << QStringLiteral("line 4: the username 'ab' is given on line 2 too");
}

void TestLoginName::givenUsernamesWinAndEqualOnesAreRefused()
{
    QFETCH(QList<QByteArray>, given);
    QFETCH(QList<QByteArray>, logins);
    QFETCH(QString, error);

    std::vector<RosterPerson> people;
    for (qsizetype i = 0; i < given.size(); ++i) {
        people.push_back(person("Anna", "Berg", i + 2));
        people.back().username = given[i];
        people.back().usernameGiven = !given[i].isEmpty();
    }
    QCOMPARE(assignLogins(people, QStringLiteral("{first}.{last}")), error);
    if (!error.isEmpty())
        return;
    QList<QByteArray> made;
    for (const RosterPerson& p : people)
        made.append(p.username);
    QCOMPARE(made, logins);
}

QTEST_GUILESS_MAIN(TestLoginName)
#include "tst_loginname.moc"
