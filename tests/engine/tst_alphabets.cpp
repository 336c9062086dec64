#include "ChiSquare.h"
#include "ScriptedRandomSource.h"
#include "engine/Alphabets.h"
#include "engine/RandomSource.h"

#include <QtTest>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {

// Bytes folded below 172: the 86 characters then come out as a draw that took the remainder of every
// byte, without drawing the top ones again, would give them (the first 84 more often than the last two).
class FoldedByteSource final : public RandomSource
{
public:
    std::span<const quint8> take(std::size_t wanted) override
    {
        const auto bytes = system_.take(std::min(wanted, folded_.size()));
        std::transform(bytes.begin(), bytes.end(), folded_.begin(), [](quint8 byte) { return quint8(byte % 172); });
        return {folded_.data(), bytes.size()};
    }
    QString errorString() const override { return system_.errorString(); }

private:
    SystemRandomSource system_;
    std::array<quint8, 4096> folded_{};
};

const QByteArray Upper = QByteArrayLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
const QByteArray Lower = QByteArrayLiteral("abcdefghijklmnopqrstuvwxyz");
const QByteArray Digits = QByteArrayLiteral("0123456789");
// Written out byte by byte so that a slip in the program's string cannot hide behind the same slip here.
const QByteArray Symbols = QByteArray::fromHex("21402324255e262a28295f2b3d2d273b3a5d5b7b7d2e3c3e");

QByteArray expectedAlphabet(LetterCase letterCase, PasswordStyle style)
{
    if (style == PasswordStyle::Numeric)
        return Digits;
    if (letterCase == LetterCase::Mixed)
        return style == PasswordStyle::Alphabetic  ? Lower + Upper
            : style == PasswordStyle::AlphaNumeric ? Upper + Lower + Digits
                                                   : Upper + Lower + Digits + Symbols;
    const QByteArray letters = letterCase == LetterCase::Upper ? Upper : Lower;
    return style == PasswordStyle::Alphabetic  ? letters
        : style == PasswordStyle::AlphaNumeric ? letters + Digits
                                               : letters + Digits + Symbols;
}

void addEveryChoice()
{
    QTest::addColumn<LetterCase>("letterCase");
    QTest::addColumn<PasswordStyle>("style");
    const std::pair<LetterCase, const char*> cases[] = {
        {LetterCase::Upper, "upper"}, {LetterCase::Lower, "lower"}, {LetterCase::Mixed, "mixed"}};
    const std::pair<PasswordStyle, const char*> styles[] = {{PasswordStyle::Numeric, "numeric"},
                                                            {PasswordStyle::Alphabetic, "alphabetic"},
                                                            {PasswordStyle::AlphaNumeric, "alpha-numeric"},
                                                            {PasswordStyle::AlphaNumSym, "alpha-num-sym"}};
    for (const auto& [letterCase, caseName] : cases) {
        for (const auto& [style, styleName] : styles) {
            QTest::addRow("%s %s text keeps to its own characters", caseName, styleName) << letterCase << style;
        }
    }
}

constexpr int SampleSize = 200000;

} // namespace

class TestAlphabets final : public QObject
{
    Q_OBJECT

private slots:
    void selectAlphabet_data();
    void selectAlphabet();
    void scriptedValuePicksCharacter_data();
    void scriptedValuePicksCharacter();
    void positionsAreFilledFirstToLastWithOneDrawEach_data();
    void positionsAreFilledFirstToLastWithOneDrawEach();
    void numericGivesDigitsWhateverTheCase_data();
    void numericGivesDigitsWhateverTheCase();
    void lengthOfZeroOrLessGivesEmptyTextAndDrawsNothing_data();
    void lengthOfZeroOrLessGivesEmptyTextAndDrawsNothing();
    void everyCharacterBelongsToTheAlphabet_data();
    void everyCharacterBelongsToTheAlphabet();
    void everyCharacterIsEquallyLikely_data();
    void everyCharacterIsEquallyLikely();
    void equalLikelihoodCheckCatchesARemainderDrawnWithoutRejection();
};

void TestAlphabets::selectAlphabet_data()
{
    QTest::addColumn<LetterCase>("letterCase");
    QTest::addColumn<PasswordStyle>("style");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("upper letters are the upper block")
        << LetterCase::Upper << PasswordStyle::Alphabetic << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    QTest::newRow("lower letters are the lower block")
        << LetterCase::Lower << PasswordStyle::Alphabetic << QByteArray("abcdefghijklmnopqrstuvwxyz");
    QTest::newRow("mixed letters alone put the lower case first")
        << LetterCase::Mixed << PasswordStyle::Alphabetic
        << QByteArray("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    QTest::newRow("upper alpha-numeric is upper then digits")
        << LetterCase::Upper << PasswordStyle::AlphaNumeric << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    QTest::newRow("lower alpha-numeric is lower then digits")
        << LetterCase::Lower << PasswordStyle::AlphaNumeric << QByteArray("abcdefghijklmnopqrstuvwxyz0123456789");
    QTest::newRow("mixed alpha-numeric puts the upper case first")
        << LetterCase::Mixed << PasswordStyle::AlphaNumeric
        << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QTest::newRow("upper alpha-num-sym ends with the symbols, closing bracket before opening")
        << LetterCase::Upper << PasswordStyle::AlphaNumSym
        << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!@#$%^&*()_+=-';:][{}.<>");
    QTest::newRow("lower alpha-num-sym ends with the symbols")
        << LetterCase::Lower << PasswordStyle::AlphaNumSym
        << QByteArray("abcdefghijklmnopqrstuvwxyz0123456789!@#$%^&*()_+=-';:][{}.<>");
    QTest::newRow("mixed alpha-num-sym has all 86 characters, upper case first")
        << LetterCase::Mixed << PasswordStyle::AlphaNumSym
        << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!@#$%^&*()_+=-';:][{}.<>");
    QTest::newRow("numeric with upper case gives the unused upper block")
        << LetterCase::Upper << PasswordStyle::Numeric << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    QTest::newRow("numeric with lower case still gives the upper block")
        << LetterCase::Lower << PasswordStyle::Numeric << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    QTest::newRow("numeric with mixed case still gives the upper block")
        << LetterCase::Mixed << PasswordStyle::Numeric << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

void TestAlphabets::selectAlphabet()
{
    QFETCH(LetterCase, letterCase);
    QFETCH(PasswordStyle, style);
    QFETCH(QByteArray, expected);

    const QByteArrayView alphabet = SelectAlphabet(letterCase, style);
    QCOMPARE(alphabet.toByteArray(), expected);
    if (style != PasswordStyle::Numeric)
        QCOMPARE(alphabet.toByteArray(), expectedAlphabet(letterCase, style));
}

void TestAlphabets::scriptedValuePicksCharacter_data()
{
    QTest::addColumn<LetterCase>("letterCase");
    QTest::addColumn<PasswordStyle>("style");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<char>("expected");

    QTest::newRow("position 0 is a lower-case a in mixed letters")
        << LetterCase::Mixed << PasswordStyle::Alphabetic << 0u << 'a';
    QTest::newRow("position 26 is the first upper-case letter in mixed letters")
        << LetterCase::Mixed << PasswordStyle::Alphabetic << 26u << 'A';
    QTest::newRow("position 0 is an upper-case A in mixed alpha-numeric")
        << LetterCase::Mixed << PasswordStyle::AlphaNumeric << 0u << 'A';
    QTest::newRow("position 61 is the last digit in mixed alpha-numeric")
        << LetterCase::Mixed << PasswordStyle::AlphaNumeric << 61u << '9';
    QTest::newRow("position 0 is an upper-case A in mixed alpha-num-sym")
        << LetterCase::Mixed << PasswordStyle::AlphaNumSym << 0u << 'A';
    QTest::newRow("position 85 is the greater-than sign in mixed alpha-num-sym")
        << LetterCase::Mixed << PasswordStyle::AlphaNumSym << 85u << '>';
    QTest::newRow("position 79 is the closing bracket, ahead of the opening one")
        << LetterCase::Mixed << PasswordStyle::AlphaNumSym << 79u << ']';
    QTest::newRow("position 80 is the opening bracket")
        << LetterCase::Mixed << PasswordStyle::AlphaNumSym << 80u << '[';
    QTest::newRow("position 26 is the digit 0 in lower alpha-numeric")
        << LetterCase::Lower << PasswordStyle::AlphaNumeric << 26u << '0';
    QTest::newRow("position 59 is the greater-than sign in upper alpha-num-sym")
        << LetterCase::Upper << PasswordStyle::AlphaNumSym << 59u << '>';
    QTest::newRow("a byte past the length wraps round: 86 + 85 is the greater-than sign")
        << LetterCase::Mixed << PasswordStyle::AlphaNumSym << 171u << '>';
    QTest::newRow("a byte past the length wraps round: 26 is A again in upper letters")
        << LetterCase::Upper << PasswordStyle::Alphabetic << 26u << 'A';
}

void TestAlphabets::scriptedValuePicksCharacter()
{
    QFETCH(LetterCase, letterCase);
    QFETCH(PasswordStyle, style);
    QFETCH(quint32, value);
    QFETCH(char, expected);

    ScriptedRandomSource source({value});
    const QByteArray text = ComposeRandomText(1, style, SelectAlphabet(letterCase, style), source);
    QCOMPARE(text, QByteArray(1, expected));
    QCOMPARE(source.drawn, quint64(1));
}

void TestAlphabets::positionsAreFilledFirstToLastWithOneDrawEach_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<quint32>>("values");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("one character takes one draw") << 1 << QList<quint32>{7} << QByteArray("H");
    QTest::newRow("eight characters take eight draws, the first draw giving the first character")
        << 8 << QList<quint32>{7, 6, 5, 4, 3, 2, 1, 0} << QByteArray("HGFEDCBA");
    QList<quint32> many;
    QByteArray manyText;
    for (quint32 i = 0; i < 49; ++i) {
        many << (i * 7) % 26;
        manyText += Upper.at((i * 7) % 26);
    }
    QTest::newRow("forty-nine characters take forty-nine draws in order") << 49 << many << manyText;
}

void TestAlphabets::positionsAreFilledFirstToLastWithOneDrawEach()
{
    QFETCH(int, length);
    QFETCH(QList<quint32>, values);
    QFETCH(QByteArray, expected);

    ScriptedRandomSource source(values);
    const QByteArray text = ComposeRandomText(length, PasswordStyle::Alphabetic,
                                              SelectAlphabet(LetterCase::Upper, PasswordStyle::Alphabetic), source);
    QCOMPARE(text, expected);
    QCOMPARE(text.size(), length);
    QCOMPARE(source.drawn, quint64(length));
}

void TestAlphabets::numericGivesDigitsWhateverTheCase_data()
{
    QTest::addColumn<LetterCase>("letterCase");
    QTest::newRow("numeric with upper case gives digits") << LetterCase::Upper;
    QTest::newRow("numeric with lower case gives digits") << LetterCase::Lower;
    QTest::newRow("numeric with mixed case gives digits") << LetterCase::Mixed;
}

void TestAlphabets::numericGivesDigitsWhateverTheCase()
{
    QFETCH(LetterCase, letterCase);

    // Bytes past 9, including the largest that is not drawn again, still land on digits.
    ScriptedRandomSource scripted({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 25, 249});
    const QByteArrayView alphabet = SelectAlphabet(letterCase, PasswordStyle::Numeric);
    QCOMPARE(ComposeRandomText(13, PasswordStyle::Numeric, alphabet, scripted), QByteArray("0123456789059"));
    QCOMPARE(scripted.drawn, quint64(13));

    SystemRandomSource system;
    const QByteArray text = ComposeRandomText(1000, PasswordStyle::Numeric, alphabet, system);
    QCOMPARE(text.size(), 1000);
    for (const char c : text)
        QVERIFY2(c >= '0' && c <= '9', (QByteArray("not a digit: ") + c).constData());
}

void TestAlphabets::lengthOfZeroOrLessGivesEmptyTextAndDrawsNothing_data()
{
    QTest::addColumn<qint32>("length");
    QTest::addColumn<PasswordStyle>("style");
    QTest::newRow("length 0 of letters gives nothing") << 0 << PasswordStyle::Alphabetic;
    QTest::newRow("length 0 of digits gives nothing") << 0 << PasswordStyle::Numeric;
    QTest::newRow("length -1 gives nothing") << -1 << PasswordStyle::AlphaNumSym;
    QTest::newRow("the most negative length gives nothing")
        << std::numeric_limits<qint32>::min() << PasswordStyle::AlphaNumeric;
}

void TestAlphabets::lengthOfZeroOrLessGivesEmptyTextAndDrawsNothing()
{
    QFETCH(qint32, length);
    QFETCH(PasswordStyle, style);

    ScriptedRandomSource source({1, 2, 3});
    const QByteArray text = ComposeRandomText(length, style, SelectAlphabet(LetterCase::Mixed, style), source);
    QVERIFY(text.isEmpty());
    QCOMPARE(source.drawn, quint64(0));
}

void TestAlphabets::everyCharacterBelongsToTheAlphabet_data()
{
    addEveryChoice();
}

void TestAlphabets::everyCharacterBelongsToTheAlphabet()
{
    QFETCH(LetterCase, letterCase);
    QFETCH(PasswordStyle, style);

    SystemRandomSource source;
    const QByteArray allowed = expectedAlphabet(letterCase, style);
    const QByteArray text = ComposeRandomText(10000, style, SelectAlphabet(letterCase, style), source);
    QCOMPARE(text.size(), 10000);
    for (const char c : text)
        QVERIFY2(allowed.contains(c), (QByteArray("outside the alphabet: ") + c).constData());
}

void TestAlphabets::everyCharacterIsEquallyLikely_data()
{
    QTest::addColumn<LetterCase>("letterCase");
    QTest::addColumn<PasswordStyle>("style");
    QTest::newRow("each of the 10 digits is equally likely") << LetterCase::Upper << PasswordStyle::Numeric;
    QTest::newRow("each of 26 upper-case letters is equally likely") << LetterCase::Upper << PasswordStyle::Alphabetic;
    QTest::newRow("each of 36 lower-case letters and digits is equally likely")
        << LetterCase::Lower << PasswordStyle::AlphaNumeric;
    QTest::newRow("each of 52 letters of both cases is equally likely")
        << LetterCase::Mixed << PasswordStyle::Alphabetic;
    QTest::newRow("each of 60 upper-case letters, digits and symbols is equally likely")
        << LetterCase::Upper << PasswordStyle::AlphaNumSym;
    QTest::newRow("each of 62 letters and digits is equally likely")
        << LetterCase::Mixed << PasswordStyle::AlphaNumeric;
    QTest::newRow("each of all 86 characters is equally likely") << LetterCase::Mixed << PasswordStyle::AlphaNumSym;
}

void TestAlphabets::everyCharacterIsEquallyLikely()
{
    QFETCH(LetterCase, letterCase);
    QFETCH(PasswordStyle, style);

    SystemRandomSource source;
    const QByteArray alphabet = expectedAlphabet(letterCase, style);
    const QByteArray text = ComposeRandomText(SampleSize, style, SelectAlphabet(letterCase, style), source);
    const std::vector<qint64> counts = countByPosition(text, alphabet);
    QVERIFY2(!counts.empty(), "a character from outside the alphabet");

    const QString unequal = unequalLikelihood(counts, SampleSize);
    QVERIFY2(unequal.isEmpty(), qPrintable(unequal));
}

// The limit must not be so loose that it lets a real fault through.
void TestAlphabets::equalLikelihoodCheckCatchesARemainderDrawnWithoutRejection()
{
    FoldedByteSource source;
    const QByteArray alphabet = expectedAlphabet(LetterCase::Mixed, PasswordStyle::AlphaNumSym);
    const QByteArray text = ComposeRandomText(SampleSize, PasswordStyle::AlphaNumSym, alphabet, source);
    const std::vector<qint64> counts = countByPosition(text, alphabet);
    QVERIFY(!counts.empty());
    QVERIFY(!unequalLikelihood(counts, SampleSize).isEmpty());
}

QTEST_GUILESS_MAIN(TestAlphabets)
#include "tst_alphabets.moc"
