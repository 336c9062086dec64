#include "ChiSquare.h"
#include "engine/PassphraseMaker.h"
#include "engine/RandomSource.h"

#include <QBuffer>
#include <QHash>
#include <QtTest>

#include <cctype>
#include <cmath>
#include <set>
#include <string>
#include <unordered_map>

namespace {

PassphraseRecipe recipe(const WordList& words, qint32 count, const QByteArray& separator, bool capitalize = false,
                        bool number = false)
{
    return {count, words, separator, capitalize, number};
}

WordList builtIn(const char* name)
{
    return WordList::builtIn(QString::fromLatin1(name)).value_or(WordList());
}

// Every text two words of the list can make, written out by hand from the recipe's meaning: the words joined
// by the separator, capitalized, a digit after either word.
std::set<std::string> everyTwoWordText(const PassphraseRecipe& recipe)
{
    std::set<std::string> texts;
    for (QByteArray first : recipe.words.words()) {
        for (QByteArray second : recipe.words.words()) {
            if (recipe.capitalize) {
                first[0] = char(std::toupper(first[0]));
                second[0] = char(std::toupper(second[0]));
            }
            if (!recipe.number)
                texts.insert((first + recipe.separator + second).toStdString());
            for (char digit = '0'; recipe.number && digit <= '9'; ++digit) {
                texts.insert((first + digit + recipe.separator + second).toStdString());
                texts.insert((first + recipe.separator + second + digit).toStdString());
            }
        }
    }
    return texts;
}

// Words of three characters, each a line: "ww0", "ww1", ... in base 36.
QByteArray linesOfWords(int count)
{
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += QByteArray::number(i, 36).rightJustified(3, 'w') + '\n';
    return lines;
}

} // namespace

class TestPassphraseMaker final : public QObject
{
    Q_OBJECT

private slots:
    void eachWordOfTheLargeListIsEquallyLikely();
    void entropyCountsEveryPassphrase_data();
    void entropyCountsEveryPassphrase();
    void everyPassphraseIsOneDrawAndEquallyLikely_data();
    void everyPassphraseIsOneDrawAndEquallyLikely();
    void wordListFilesAreReadAsWritten_data();
    void wordListFilesAreReadAsWritten();
    void recipesThatLoseMostWordsAreRefused_data();
    void recipesThatLoseMostWordsAreRefused();
};

void TestPassphraseMaker::eachWordOfTheLargeListIsEquallyLikely()
{
    constexpr int Passphrases = 200000;
    const WordList large = builtIn("large");
    QHash<QByteArray, qsizetype> positions;
    for (const QByteArray& word : large.words()) {
        if (!word.contains('-'))
            positions.insert(word, positions.size());
    }
    QCOMPARE(positions.size(), 7772);

    QString error;
    auto maker = PassphraseMaker::create(PassphraseRecipe(), SystemRandomSource::instance(), error);
    QVERIFY2(maker, qPrintable(error));
    std::vector<qint64> counts(std::size_t(positions.size()), 0);
    QByteArray text;
    for (int i = 0; i < Passphrases; ++i) {
        QVERIFY(maker->makePassword(text));
        const QByteArrayList words = text.split('-');
        QCOMPARE(words.size(), 6);
        for (const QByteArray& word : words) {
            const auto position = positions.constFind(word);
            QVERIFY2(position != positions.cend(), text.constData());
            ++counts[std::size_t(*position)];
        }
    }
    const QString unequal = unequalLikelihood(counts, 6 * qint64(Passphrases));
    QVERIFY2(unequal.isEmpty(), qPrintable(unequal));
}

void TestPassphraseMaker::entropyCountsEveryPassphrase_data()
{
    QTest::addColumn<PassphraseRecipe>("recipe");
    QTest::addColumn<double>("bits");

    const WordList large = builtIn("large");
    const WordList shortList = builtIn("short");
    QTest::newRow("four words of the short list between blanks are 1296^4 passphrases, 4 x 10.34 bits")
        << recipe(shortList, 4, " ") << 4 * std::log2(1296.0);
    QTest::newRow("the separator - leaves yo-yo out of the short list: 1295^4")
        << recipe(shortList, 4, "-") << 4 * std::log2(1295.0);
    QTest::newRow("six words of the large list are 7772^6 passphrases, its four hyphenated words left out")
        << recipe(large, 6, "-") << 6 * std::log2(7772.0);
    QTest::newRow("a digit after one of six words gives 60 times as many")
        << recipe(large, 6, "-", false, true) << 6 * std::log2(7772.0) + std::log2(60.0);
    QTest::newRow("no two words of the large list differ only in their first letter's case")
        << recipe(large, 6, ".", true) << 6 * std::log2(7776.0);
    QTest::newRow("capitals mark where each word starts when nothing separates them")
        << recipe(large, 6, "", true) << 6 * std::log2(7776.0);
}

void TestPassphraseMaker::entropyCountsEveryPassphrase()
{
    QFETCH(PassphraseRecipe, recipe);
    QFETCH(double, bits);

    QString error;
    const auto maker = PassphraseMaker::create(recipe, SystemRandomSource::instance(), error);
    QVERIFY2(maker, qPrintable(error));
    QCOMPARE(maker->entropyBits(), bits);
}

// Words that could be read two ways are left out, so that the number of different texts is the number of draws
// and each text is as likely as any other. A sample a hundred times the size of the texts sees every one.
void TestPassphraseMaker::everyPassphraseIsOneDrawAndEquallyLikely_data()
{
    QTest::addColumn<PassphraseRecipe>("recipe");
    QTest::addColumn<int>("texts");

    const auto words = [](std::initializer_list<QByteArray> list) {
        return WordList(QByteArrayList(list));
    };
    QTest::newRow("around -- the words a- and -b would make a---b of a- -- b and a -- -b")
        << recipe(words({"a-", "-b", "a", "b", "c", "d"}), 2, "--") << 4 * 4;
    QTest::newRow("with a number the words a1 and b2 would make a1-b2 of a1-b 2 and a 1-b2")
        << recipe(words({"a1", "b2", "a", "b", "c", "d"}), 2, "-", false, true) << 4 * 4 * 20;
    QTest::newRow("with capitals march and March are one word")
        << recipe(words({"march", "March", "may", "May", "nice", "polish"}), 2, " ", true) << 4 * 4;
    QTest::newRow("with capitals and no separator upSet would make UpSetUp of Up SetUp and UpSet Up")
        << recipe(words({"up", "set", "upSet", "setUp", "down", "in"}), 2, "", true) << 4 * 4;
}

void TestPassphraseMaker::everyPassphraseIsOneDrawAndEquallyLikely()
{
    QFETCH(PassphraseRecipe, recipe);
    QFETCH(int, texts);

    QString error;
    auto maker = PassphraseMaker::create(recipe, SystemRandomSource::instance(), error);
    QVERIFY2(maker, qPrintable(error));
    QCOMPARE(maker->entropyBits(), std::log2(double(texts)));
    const std::set<std::string> possible = everyTwoWordText(recipe);
    const qint64 draws = 100 * qint64(texts);
    std::unordered_map<std::string, qint64> seen;
    QByteArray text;
    for (qint64 i = 0; i < draws; ++i) {
        QVERIFY(maker->makePassword(text));
        QVERIFY2(possible.count(text.toStdString()) != 0, text.constData());
        ++seen[text.toStdString()];
    }
    QCOMPARE(int(seen.size()), texts);
    std::vector<qint64> counts;
    for (const auto& [passphrase, count] : seen)
        counts.push_back(count);
    const QString unequal = unequalLikelihood(counts, draws);
    QVERIFY2(unequal.isEmpty(), qPrintable(unequal));
}

void TestPassphraseMaker::wordListFilesAreReadAsWritten_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("words");
    QTest::addColumn<QString>("error");

    const QByteArray thousand = linesOfWords(1000);
    QTest::newRow("a thousand words, each a line, are a list") << thousand << 1000 << QString();
    QTest::newRow("a byte order mark, blanks around words, blank lines, CRLF and repeats are not words")
        << "\xef\xbb\xbf  " + QByteArray(thousand).replace("\n", " \r\n") + "\n \t\n" + thousand.left(40) << 1000
        << QString();
    QTest::newRow("999 different words among a thousand lines are too few") << linesOfWords(999)
            + "ww0\n" << 0 << QStringLiteral("holds only 999 different words; a word list needs at least 1000");
    QTest::newRow("a line of two words is a fault named by its line")
        << "fine\n11111 abacus\n" + thousand << 0 << QStringLiteral("line 2 holds more than one word");
    QTest::newRow("a line that is not UTF-8 is a fault named by its line")
        << "caf\xe9\n" + thousand << 0 << QStringLiteral("line 1 is not UTF-8");
}

void TestPassphraseMaker::wordListFilesAreReadAsWritten()
{
    QFETCH(QByteArray, content);
    QFETCH(int, words);
    QFETCH(QString, error);

    QBuffer file(&content);
    QVERIFY(file.open(QIODevice::ReadOnly));
    WordList list;
    QString fault;
    const WordList::ReadResult result = WordList::read(file, list, fault);
    QCOMPARE(fault, error);
    QCOMPARE(result, error.isEmpty() ? WordList::ReadResult::Read : WordList::ReadResult::NotAWordList);
    QCOMPARE(list.size(), words);
}

void TestPassphraseMaker::recipesThatLoseMostWordsAreRefused_data()
{
    QTest::addColumn<PassphraseRecipe>("recipe");
    QTest::addColumn<QString>("error");

    const WordList large = builtIn("large");
    QTest::newRow("no word is no passphrase") << recipe(large, 0, "-") << "a passphrase holds 1 to 100000 words";
    QTest::newRow("the separator e would leave out more than half of the large list")
        << recipe(large, 6, "e")
        << "only 3112 of the word list's 7776 words can be told apart in passphrases with the separator \"e\"; at "
           "most half of them may be left out";
    QTest::newRow("with no separator and no capitals the words run into each other")
        << recipe(large, 6, "")
        << "only 0 of the word list's 7776 words can be told apart in passphrases with no separator and no "
           "capitals; at most half of them may be left out";
}

void TestPassphraseMaker::recipesThatLoseMostWordsAreRefused()
{
    QFETCH(PassphraseRecipe, recipe);
    QFETCH(QString, error);

    QString fault;
    QVERIFY(!PassphraseMaker::create(recipe, SystemRandomSource::instance(), fault));
    QCOMPARE(fault, error);
}

QTEST_GUILESS_MAIN(TestPassphraseMaker)
#include "tst_passphrasemaker.moc"
