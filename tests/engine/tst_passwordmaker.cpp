#include "ChiSquare.h"
#include "engine/PasswordMaker.h"
#include "engine/RandomSource.h"

#include <QtTest>

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

PasswordRecipe recipe(PasswordStyle style, LetterCase letterCase, qint32 length, bool excludeSimilar, bool everyClass)
{
    return {style, letterCase, length, excludeSimilar, everyClass, {}};
}

PasswordRecipe spreadsheetSafe(PasswordRecipe recipe)
{
    recipe.spreadsheetSafe = true;
    return recipe;
}

PasswordRecipe atLeastClasses(PasswordRecipe recipe, int classes)
{
    recipe.minClasses = classes;
    return recipe;
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

    const QString unequal = unequalLikelihood(counts, SampleSize);
    QVERIFY2(unequal.isEmpty(), qPrintable(unequal));
}

// Drawing again until a password qualifies gives each qualifying password the same chance. Putting a missing
// class in afterwards would not: a password of two letters and a digit would come twice as often as one of a
// letter and two digits, which the statistic over all the passwords shows at once. A spreadsheet reads a cell
// starting with = + - @ as a formula, hides a leading ' and drops the 0 that starts a number: such passwords are
// never made for one, and each of the others stays equally likely.
enum class Rule { LetterAndDigit, SpreadsheetSafe };

void TestPasswordMaker::everyQualifyingPasswordIsEquallyLikely_data()
{
    QTest::addColumn<PasswordRecipe>("recipe");
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<int>("qualifying");

    QTest::newRow("each of the 28080 three-character passwords with a letter and a digit is equally likely")
        << recipe(PasswordStyle::AlphaNumeric, LetterCase::Upper, 3, false, true) << Rule::LetterAndDigit
        << 36 * 36 * 36 - 26 * 26 * 26 - 1000;
    QTest::newRow("without look-alikes each of the 18432 such passwords is equally likely")
        << recipe(PasswordStyle::AlphaNumeric, LetterCase::Upper, 3, true, true) << Rule::LetterAndDigit
        << 32 * 32 * 32 - 24 * 24 * 24 - 512;
    QTest::newRow("each of the 90 two-digit passwords not starting with 0 is equally likely")
        << spreadsheetSafe(recipe(PasswordStyle::Numeric, LetterCase::Upper, 2, false, false)) << Rule::SpreadsheetSafe
        << 90;
    QTest::newRow(
        "each of the 81 x 86 two-character passwords not starting with = + - @ ' or 00 to 09 is equally likely")
        << spreadsheetSafe(recipe(PasswordStyle::AlphaNumSym, LetterCase::Mixed, 2, false, false))
        << Rule::SpreadsheetSafe << 81 * 86 - 10;
}

void TestPasswordMaker::everyQualifyingPasswordIsEquallyLikely()
{
    QFETCH(PasswordRecipe, recipe);
    QFETCH(Rule, rule);
    QFETCH(int, qualifying);

    constexpr qint64 Passwords = 1'000'000;
    PasswordMaker maker(recipe, SystemRandomSource::instance());
    std::unordered_map<std::string, qint64> seen;
    QByteArray password;
    for (qint64 i = 0; i < Passwords; ++i) {
        QVERIFY(maker.makePassword(password));
        ++seen[password.toStdString()];
    }
    std::vector<qint64> counts;
    for (const auto& [text, count] : seen) {
        const bool letter = std::any_of(text.cbegin(), text.cend(), [](char c) { return std::isupper(c); });
        const bool digit = std::any_of(text.cbegin(), text.cend(), [](char c) { return std::isdigit(c); });
        const bool number = std::all_of(text.cbegin(), text.cend(), [](char c) { return std::isdigit(c); });
        if (rule == Rule::LetterAndDigit)
            QVERIFY2(letter && digit, text.c_str());
        else
            QVERIFY2(!QByteArrayView("=+-@'").contains(text.front()) && !(number && text.front() == '0'), text.c_str());
        counts.push_back(count);
    }
    // Some 35 draws of each leave none out, short of a chance below one in 10^10.
    QCOMPARE(int(counts.size()), qualifying);

    const QString unequal = unequalLikelihood(counts, Passwords);
    QVERIFY2(unequal.isEmpty(), qPrintable(unequal));
    QCOMPARE(maker.entropyBits(), std::log2(double(qualifying)));
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
    QTest::newRow("sixteen digits not starting with 0 are 9 x 10^15 passwords")
        << spreadsheetSafe(recipe(PasswordStyle::Numeric, LetterCase::Upper, 16, false, false)) << 52.99884642475275;
    QTest::newRow("four of all classes not starting with = + - @ ' are 3690960 passwords")
        << spreadsheetSafe(recipe(PasswordStyle::AlphaNumSym, LetterCase::Mixed, 4, false, true)) << 21.815564672089398;
    QTest::newRow("three characters holding three of the four classes are 212784 passwords")
        << atLeastClasses(recipe(PasswordStyle::AlphaNumSym, LetterCase::Mixed, 3, false, false), 3)
        << 17.699030147886422;
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
