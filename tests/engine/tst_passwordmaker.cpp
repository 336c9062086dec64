#include "ChiSquare.h"
#include "engine/PasswordMaker.h"
#include "engine/RandomSource.h"

#include <QtTest>

#include <map>

namespace {

PasswordRecipe recipe(PasswordStyle style, LetterCase letterCase, qint32 length, bool excludeSimilar, bool everyClass)
{
    return {style, letterCase, length, excludeSimilar, everyClass};
}

constexpr int SampleSize = 200000;

} // namespace

class TestPasswordMaker final : public QObject
{
    Q_OBJECT

private slots:
    void excludeSimilarLeavesOutTheLookAlikes_data();
    void excludeSimilarLeavesOutTheLookAlikes();
    void charactersLeftByExcludeSimilarAreEquallyLikely();
    void everyQualifyingPasswordIsEquallyLikely_data();
    void everyQualifyingPasswordIsEquallyLikely();
    void entropyIsLog2OfTheExactCount_data();
    void entropyIsLog2OfTheExactCount();
};

void TestPasswordMaker::excludeSimilarLeavesOutTheLookAlikes_data()
{
    QTest::addColumn<PasswordStyle>("style");
    QTest::addColumn<LetterCase>("letterCase");
    QTest::addColumn<QByteArray>("characters");

    QTest::newRow("numeric keeps the digits from 2 on")
        << PasswordStyle::Numeric << LetterCase::Mixed << QByteArray("23456789");
    QTest::newRow("lower-case letters lose the small l")
        << PasswordStyle::Alphabetic << LetterCase::Lower << QByteArray("abcdefghijkmnopqrstuvwxyz");
    QTest::newRow("upper alpha-numeric loses I, O, 0 and 1 and keeps its order")
        << PasswordStyle::AlphaNumeric << LetterCase::Upper << QByteArray("ABCDEFGHJKLMNPQRSTUVWXYZ23456789");
    QTest::newRow("mixed alpha-num-sym keeps 81 characters, the symbols untouched")
        << PasswordStyle::AlphaNumSym << LetterCase::Mixed
        << QByteArray("ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789!@#$%^&*()_+=-';:][{}.<>");
}

void TestPasswordMaker::excludeSimilarLeavesOutTheLookAlikes()
{
    QFETCH(PasswordStyle, style);
    QFETCH(LetterCase, letterCase);
    QFETCH(QByteArray, characters);

    PasswordMaker maker(recipe(style, letterCase, 8, true, false), SystemRandomSource::instance());
    QCOMPARE(maker.characters().toByteArray(), characters);
}

void TestPasswordMaker::charactersLeftByExcludeSimilarAreEquallyLikely()
{
    PasswordMaker maker(recipe(PasswordStyle::AlphaNumSym, LetterCase::Mixed, SampleSize, true, false),
                        SystemRandomSource::instance());
    const QByteArray characters = maker.characters().toByteArray();
    QByteArray text;
    QVERIFY(maker.makePassword(text));
    const std::vector<qint64> counts = countByPosition(text, characters);
    QVERIFY2(!counts.empty(), "a character from outside the characters left");

    const double statistic = chiSquare(counts, SampleSize);
    const double limit = chiSquareLimit(int(characters.size()) - 1);
    QVERIFY2(statistic < limit,
             qPrintable(QStringLiteral("chi-square %1 reaches the limit %2").arg(statistic).arg(limit)));
}

// Drawing again until a password qualifies gives each qualifying password the same chance; putting a
// missing class in afterwards would not.
void TestPasswordMaker::everyQualifyingPasswordIsEquallyLikely_data()
{
    QTest::addColumn<PasswordRecipe>("recipe");
    QTest::addColumn<int>("qualifying");

    QTest::newRow("each of the 520 two-character passwords of a letter and a digit is equally likely")
        << recipe(PasswordStyle::AlphaNumeric, LetterCase::Upper, 2, false, true) << 2 * 26 * 10;
    QTest::newRow("without look-alikes each of the 384 such passwords is equally likely")
        << recipe(PasswordStyle::AlphaNumeric, LetterCase::Upper, 2, true, true) << 2 * 24 * 8;
    QTest::newRow("each of the 1352 two-letter passwords of both cases is equally likely")
        << recipe(PasswordStyle::Alphabetic, LetterCase::Mixed, 2, false, true) << 2 * 26 * 26;
}

void TestPasswordMaker::everyQualifyingPasswordIsEquallyLikely()
{
    QFETCH(PasswordRecipe, recipe);
    QFETCH(int, qualifying);

    PasswordMaker maker(recipe, SystemRandomSource::instance());
    std::map<QByteArray, qint64> seen;
    QByteArray password;
    for (int i = 0; i < SampleSize; ++i) {
        QVERIFY(maker.makePassword(password));
        ++seen[password];
    }
    std::vector<qint64> counts;
    for (const auto& [text, count] : seen) {
        const bool letter = std::any_of(text.cbegin(), text.cend(), [](char c) { return std::isalpha(c); });
        const bool digit = std::any_of(text.cbegin(), text.cend(), [](char c) { return std::isdigit(c); });
        const bool upper = std::any_of(text.cbegin(), text.cend(), [](char c) { return std::isupper(c); });
        const bool lower = std::any_of(text.cbegin(), text.cend(), [](char c) { return std::islower(c); });
        const bool qualifies = recipe.style == PasswordStyle::Alphabetic ? upper && lower : letter && digit;
        QVERIFY2(qualifies, text.constData());
        counts.push_back(count);
    }
    // 385 draws of each leave none out, short of a chance far below one in 10^100.
    QCOMPARE(int(counts.size()), qualifying);

    const double statistic = chiSquare(counts, SampleSize);
    const double limit = chiSquareLimit(qualifying - 1);
    QVERIFY2(statistic < limit,
             qPrintable(QStringLiteral("chi-square %1 reaches the limit %2").arg(statistic).arg(limit)));
}

void TestPasswordMaker::entropyIsLog2OfTheExactCount_data()
{
    QTest::addColumn<PasswordRecipe>("recipe");
    QTest::addColumn<double>("bits");

    QTest::newRow("eight digits are 10^8 passwords")
        << recipe(PasswordStyle::Numeric, LetterCase::Upper, 8, false, false) << 26.575424759098897;
    QTest::newRow("sixteen of all 86 characters are 86^16 passwords")
        << recipe(PasswordStyle::AlphaNumSym, LetterCase::Mixed, 16, false, false) << 102.82023607523357;
    QTest::newRow("a letter and a digit in two characters are 520 passwords")
        << recipe(PasswordStyle::AlphaNumeric, LetterCase::Upper, 2, false, true) << 9.022367813028454;
    QTest::newRow("four characters of all four classes are 4! x 26 x 26 x 10 x 24 passwords")
        << recipe(PasswordStyle::AlphaNumSym, LetterCase::Mixed, 4, false, true) << 21.89273253261186;
    QTest::newRow("twelve of 81 characters holding every class are 54097327321744978022400 passwords")
        << recipe(PasswordStyle::AlphaNumSym, LetterCase::Mixed, 12, true, true) << 75.51797540699158;
    QTest::newRow("three of 33 characters with a letter and a digit are 19800 passwords")
        << recipe(PasswordStyle::AlphaNumeric, LetterCase::Lower, 3, true, true) << 14.273212809854334;
    QTest::newRow("one digit holds its only class: 10 passwords")
        << recipe(PasswordStyle::Numeric, LetterCase::Upper, 1, false, true) << 3.321928094887362;
    QTest::newRow("1024 characters of letters and digits holding every class")
        << recipe(PasswordStyle::AlphaNumeric, LetterCase::Mixed, 1024, false, true) << 6097.09702183616;
}

void TestPasswordMaker::entropyIsLog2OfTheExactCount()
{
    QFETCH(PasswordRecipe, recipe);
    QFETCH(double, bits);

    const double entropy = PasswordMaker(recipe, SystemRandomSource::instance()).entropyBits();
    QVERIFY2(std::abs(entropy - bits) < 1e-9 * bits, qPrintable(QString::number(entropy, 'g', 17)));
}

QTEST_GUILESS_MAIN(TestPasswordMaker)
#include "tst_passwordmaker.moc"
