#include "ChiSquare.h"
#include "engine/RandomSource.h"
#include "engine/RulesPasswordMaker.h"

#include <QtTest>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// The rule text read again, the plain way: split at ";" and "," outside brackets, each piece taken for what it
// names. Nothing of the engine's reading is used.
class RuleChecker
{
public:
    RuleChecker(const QString& rules, const QByteArray& exclude)
    {
        std::vector<std::string> properties(1);
        bool inSet = false;
        const std::string text = rules.toStdString();
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (!inSet && c == ';')
                properties.emplace_back();
            else
                properties.back() += c;
            if (!inSet && c == '[' && i + 1 < text.size() && text[i + 1] == ']')
                properties.back() += text[++i];
            inSet = c == '[' ? true : c == ']' ? false : inSet;
        }
        for (const std::string& property : properties)
            read(property, exclude);
        if (allowed_.empty())
            allowed_ = without(classOf("ascii-printable"), exclude);
        std::sort(allowed_.begin(), allowed_.end());
        allowed_.erase(std::unique(allowed_.begin(), allowed_.end()), allowed_.end());
    }

    // Empty when the password keeps every rule; otherwise the rule it breaks.
    std::string broken(const std::string& password) const
    {
        if (int(password.size()) < minLength_ || int(password.size()) > maxLength_)
            return "length";
        for (std::size_t i = 0; i < password.size(); ++i) {
            if (allowed_.find(password[i]) == std::string::npos)
                return "allowed";
            if (i >= std::size_t(maxRun_) && password.find_first_not_of(password[i], i - maxRun_) > i)
                return "max-consecutive";
        }
        for (const std::string& set : required_) {
            if (password.find_first_of(set) == std::string::npos)
                return "required: " + set;
        }
        return {};
    }

    const std::string& allowed() const { return allowed_; }

private:
    static std::string without(std::string characters, const QByteArray& exclude)
    {
        std::erase_if(characters, [&exclude](char c) { return exclude.contains(c); });
        return characters;
    }

    static std::string classOf(const std::string& name)
    {
        if (name.size() >= 2 && name.front() == '[')
            return name.substr(1, name.size() - 2);
        std::string printable;
        for (char c = '!'; c <= '~'; ++c)
            printable += c;
        const std::unordered_map<std::string, std::string> classes = {{"upper", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
                                                                      {"lower", "abcdefghijklmnopqrstuvwxyz"},
                                                                      {"digit", "0123456789"},
                                                                      {"special", "-~!@#$%^&*_+=`|(){}[:;\"'<>,.?]"},
                                                                      {"ascii-printable", printable}};
        return classes.at(name);
    }

    void read(const std::string& property, const QByteArray& exclude)
    {
        const std::size_t colon = property.find(':');
        if (colon == std::string::npos)
            return;
        const QString name = QString::fromStdString(property.substr(0, colon)).trimmed();
        const std::string value = property.substr(colon + 1);
        if (name == u"minlength")
            minLength_ = std::stoi(value);
        else if (name == u"maxlength")
            maxLength_ = std::stoi(value);
        else if (name == u"max-consecutive")
            maxRun_ = std::stoi(value);
        if (name != u"required" && name != u"allowed")
            return;
        std::string characters;
        for (const QString& piece : QString::fromStdString(value).split(u','))
            characters += without(classOf(piece.trimmed().toStdString()), exclude);
        if (name == u"required")
            required_.push_back(characters);
        allowed_ += characters;
    }

    int minLength_ = 1;
    int maxLength_ = INT_MAX;
    int maxRun_ = INT_MAX;
    std::vector<std::string> required_;
    std::string allowed_;
};

// How many passwords of the length the checker passes, each one tried; zero when there are too many to try.
double countByTrying(const RuleChecker& checker, int length)
{
    const std::string& characters = checker.allowed();
    if (std::pow(double(characters.size()), length) > 1e6)
        return 0;
    std::vector<std::size_t> digits(std::size_t(length), 0);
    std::string password(std::size_t(length), characters[0]);
    double passing = 0;
    for (;;) {
        passing += checker.broken(password).empty() ? 1 : 0;
        std::size_t i = 0;
        for (; i < digits.size() && ++digits[i] == characters.size(); ++i) {
            digits[i] = 0;
            password[i] = characters[0];
        }
        if (i == digits.size())
            return passing;
        password[i] = characters[digits[i]];
    }
}

} // namespace

class TestRulesPasswordMaker final : public QObject
{
    Q_OBJECT

private slots:
    void passwordsKeepEveryRule_data();
    void passwordsKeepEveryRule();
    void rulesThatCannotBeMetOrReadAreRefused_data();
    void rulesThatCannotBeMetOrReadAreRefused();
};

// Each row: the rules, the excluded characters, the length asked for (0: none), the length made, and the number
// of passwords counted by hand, or 0 where the test tries every password of the rules' characters.
void TestRulesPasswordMaker::passwordsKeepEveryRule_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QByteArray>("exclude");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("length");
    QTest::addColumn<double>("passwords");

    QTest::newRow("minlength and maxlength of 3 hold the length of 16 at 3")
        << "minlength: 3; maxlength: 3; allowed: [abc]" << QByteArray() << 0 << 3 << 0.0;
    QTest::newRow("required gives at least one of its set")
        << "maxlength: 4; required: [ab]; allowed: [xyz]" << QByteArray() << 0 << 4 << 0.0;
    QTest::newRow("two required properties each give one of their own set")
        << "required: [a]; required: [b]; allowed: [c]" << QByteArray() << 3 << 3 << 0.0;
    QTest::newRow("one required property of two classes gives one of either")
        << "required: [a], [b]; allowed: [c]" << QByteArray() << 3 << 3 << 0.0;
    QTest::newRow("max-consecutive keeps every run of a character short")
        << "allowed: [ab]; max-consecutive: 2" << QByteArray() << 7 << 7 << 0.0;
    QTest::newRow("a ] first and a - first or last in a set stand for themselves")
        << "allowed: []-]; required: [-x]" << QByteArray() << 4 << 4 << 0.0;
    QTest::newRow("excluded characters leave every set of the rules")
        << "required: [abc]; allowed: [xyz]" << QByteArray("ax") << 4 << 4 << 0.0;
    QTest::newRow("special is the thirty characters of the language's reference")
        << "required: special" << QByteArray() << 2 << 2 << 0.0;
    QTest::newRow("with no required or allowed property the 94 printable characters but the blank serve")
        << "minlength: 20; maxlength: 24" << QByteArray() << 0 << 20 << std::pow(94.0, 20);
    QTest::newRow("four required classes in four characters come in any order")
        << "required: upper; required: lower; required: digit; required: special" << QByteArray() << 4 << 4
        << 24.0 * 26 * 26 * 10 * 30;
    QTest::newRow("the rules of the common example keep all their properties")
        << "minlength: 8; maxlength: 32; required: lower, upper; required: digit; allowed: [-_./\\@$*&!#]; "
           "max-consecutive: 2"
        << QByteArray("lI1O0") << 0 << 16 << -1.0;
}

void TestRulesPasswordMaker::passwordsKeepEveryRule()
{
    QFETCH(QString, rules);
    QFETCH(QByteArray, exclude);
    QFETCH(int, asked);
    QFETCH(int, length);
    QFETCH(double, passwords);

    QString error;
    const auto parsed = PasswordRules::parse(rules, error);
    QVERIFY2(parsed, qPrintable(error));
    const RulesRecipe recipe{*parsed, asked > 0 ? std::optional<qint32>(asked) : std::nullopt, exclude};
    auto maker = RulesPasswordMaker::create(recipe, SystemRandomSource::instance(), error);
    QVERIFY2(maker, qPrintable(error));

    const RuleChecker checker(rules, exclude);
    if (passwords == 0)
        passwords = countByTrying(checker, length);
    if (passwords > 0)
        QVERIFY2(std::abs(maker->entropyBits() - std::log2(passwords)) < 1e-9 * std::log2(passwords),
                 qPrintable(QStringLiteral("%1 bits for %2 passwords").arg(maker->entropyBits()).arg(passwords)));

    constexpr int Draws = 20000;
    std::unordered_map<std::string, qint64> seen;
    QByteArray password;
    for (int i = 0; i < Draws; ++i) {
        QVERIFY(maker->makePassword(password));
        QCOMPARE(password.size(), length);
        const std::string broken = checker.broken(password.toStdString());
        QVERIFY2(broken.empty(), (password.toStdString() + " breaks " + broken).c_str());
        ++seen[password.toStdString()];
    }
    // Where each password is drawn ten times or more, each must be equally likely.
    if (passwords > 0 && passwords <= Draws / 10) {
        QCOMPARE(double(seen.size()), passwords);
        std::vector<qint64> counts;
        for (const auto& [text, count] : seen)
            counts.push_back(count);
        const QString unequal = unequalLikelihood(counts, Draws);
        QVERIFY2(unequal.isEmpty(), qPrintable(unequal));
    }
}

void TestRulesPasswordMaker::rulesThatCannotBeMetOrReadAreRefused_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QByteArray>("exclude");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("error");

    const QByteArray none;
    QTest::newRow("a misspelt property is quoted") << "minlenght: 8" << none << 0 << R"(unknown property "minlenght")";
    QTest::newRow("a set without its ] is quoted") << "allowed: [abc" << none << 0 << R"("[abc" is not a closed set)";
    QTest::newRow("an unknown class is quoted")
        << "required: digits" << none << 0 << R"(unknown character class "digits")";
    QTest::newRow("a range is not a set")
        << "allowed: [a-z]" << none << 0
        << R"("[a-z]": a "-" stands for itself only first or last in a set, and there are no ranges)";
    QTest::newRow("a length must be a number")
        << "minlength: eight" << none << 0 << R"("minlength: eight" does not give a number of characters)";
    QTest::newRow("a property needs its colon") << "minlength 8" << none << 0 << R"("minlength 8" has no ":")";
    QTest::newRow("classes need commas between them")
        << "required: lower upper" << none << 0 << R"(unexpected "u" in "required: lower upper")";
    QTest::newRow("a maxlength below the minlength allows nothing")
        << "maxlength: 4; minlength: 8" << none << 0 << "the rules' maxlength 4 is below their minlength 8";
    QTest::newRow("a max-consecutive of 0 allows nothing")
        << "max-consecutive: 0" << none << 0 << "a max-consecutive of 0 allows no character at all";
    QTest::newRow("a length asked for outside the rules' range names the range")
        << "minlength: 8; maxlength: 32" << none << 40 << "a length of 40 is outside the rules' range of 8 to 32";
    QTest::newRow("excluding every digit leaves a required digit nothing")
        << "required: lower; required: digit" << QByteArray("0123456789") << 0
        << R"(every character of "required: digit" is excluded)";
    QTest::newRow("two required sets cannot both fit one character")
        << "required: [a]; required: [b]; maxlength: 1" << none << 0 << "no password of length 1 meets these rules";
    QTest::newRow("rules met by 2220 of the 94^4 passwords of their characters are refused, not drawn from for long")
        << "required: [a]; required: [b]; required: [c]; allowed: ascii-printable; maxlength: 4" << none << 0
        << "only 1 in 3.52e+04 passwords of the rules' characters meets them, too few to draw from";
}

void TestRulesPasswordMaker::rulesThatCannotBeMetOrReadAreRefused()
{
    QFETCH(QString, rules);
    QFETCH(QByteArray, exclude);
    QFETCH(int, asked);
    QFETCH(QString, error);

    QString fault;
    auto parsed = PasswordRules::parse(rules, fault);
    if (parsed) {
        const RulesRecipe recipe{*parsed, asked > 0 ? std::optional<qint32>(asked) : std::nullopt, exclude};
        QVERIFY(!RulesPasswordMaker::create(recipe, SystemRandomSource::instance(), fault));
    }
    QCOMPARE(fault, error);
}

QTEST_GUILESS_MAIN(TestRulesPasswordMaker)
#include "tst_rulespasswordmaker.moc"
