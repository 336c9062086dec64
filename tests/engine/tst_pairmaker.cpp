#include "engine/PairMaker.h"
#include "engine/RandomSource.h"

#include <QSet>
#include <QTest>

#include <algorithm>
#include <limits>

class TestPairMaker final : public QObject
{
    Q_OBJECT

private slots:
    void uniqueUsernamesAreAllDifferent_data();
    void uniqueUsernamesAreAllDifferent();
};

void TestPairMaker::uniqueUsernamesAreAllDifferent_data()
{
    QTest::addColumn<PasswordRecipe>("recipe");
    QTest::addColumn<quint64>("limit");

    QTest::newRow("50 of the 100 two-digit usernames can be drawn, and are all different")
        << PasswordRecipe{PasswordStyle::Numeric, LetterCase::Upper, 2, false, false, {}} << quint64(50);
    QTest::newRow("two of the 5 one-digit usernames left by the exclusions, both different")
        << PasswordRecipe{PasswordStyle::Numeric, LetterCase::Upper, 1, false, false, "01234"} << quint64(2);
    QTest::newRow("half of the 86^4 usernames of four symbols")
        << PasswordRecipe{PasswordStyle::AlphaNumSym, LetterCase::Mixed, 4, false, false, {}}
        << quint64(86 * 86 * 86 * 86 / 2);
    QTest::newRow("usernames of sixteen characters are too many to count: the limit is the largest")
        << PasswordRecipe{PasswordStyle::AlphaNumeric, LetterCase::Mixed, 16, false, false, {}}
        << std::numeric_limits<quint64>::max() / 2;
}

// Without being drawn unique, 50 draws of 100 usernames repeat one all but surely (1 - 3e-7).
void TestPairMaker::uniqueUsernamesAreAllDifferent()
{
    QFETCH(PasswordRecipe, recipe);
    QFETCH(quint64, limit);

    QCOMPARE(PairMaker::uniqueUsernameLimit(recipe), limit);
    const quint64 count = std::min<quint64>(limit, 50);
    PairMaker maker(recipe, UsernameStyle::Random, count, SystemRandomSource::instance());
    maker.drawUniqueUsernames();
    QSet<QByteArray> usernames;
    for (CredentialPair pair; maker.next(pair);)
        usernames.insert(pair.username);
    QCOMPARE(maker.outcome(), PairMaker::Outcome::Finished);
    QCOMPARE(quint64(usernames.size()), count);
}

QTEST_GUILESS_MAIN(TestPairMaker)
#include "tst_pairmaker.moc"
