#include "cli/PassphraseOptions.h"

#include "cli/CliOptions.h"
#include "cli/Options.h"
#include "cli/ValueReader.h"
#include "engine/RandomSource.h"
#include "os/InputDevice.h"

#include <QCommandLineParser>

namespace {

std::optional<UsageError> readWordList(const QCommandLineParser& parser, const Options& option, WordList& words)
{
    const QString name = parser.value(option.wordList);
    if (std::optional<WordList> builtIn = WordList::builtIn(name)) {
        words = *builtIn;
        return {};
    }
    if (name.isEmpty())
        return refuse(longName(option.wordList), QStringLiteral("no list or file name given"));
    if (name == QStringLiteral("-") && parser.value(option.names) == name)
        return refuse(longName(option.wordList), QStringLiteral("standard input is read by --names already"));
    InputDevice file(name);
    if (!file.isOpen())
        return unreadable(file.name(), file.errorString());
    QString error;
    switch (WordList::read(file, words, error)) {
    case WordList::ReadResult::Read:
        return {};
    case WordList::ReadResult::ReadFailed:
        return unreadable(file.name(), error);
    case WordList::ReadResult::NotAWordList:
        break;
    }
    return refuse(longName(option.wordList), file.name() + QStringLiteral(": ") + error);
}

} // namespace

std::optional<UsageError> readPassphraseOptions(const QCommandLineParser& parser, const Options& option,
                                                CliOptions& options)
{
    if (options.kind != CliOptions::Kind::Words) {
        for (const QCommandLineOption* wordsOnly :
             {&option.wordList, &option.separator, &option.capitalize, &option.number}) {
            if (parser.isSet(*wordsOnly))
                return refuse(longName(*wordsOnly), QStringLiteral("needs --style words"));
        }
        return {};
    }
    for (const QCommandLineOption* charactersOnly :
         {&option.letterCase, &option.exclude, &option.excludeSimilar, &option.everyClass}) {
        if (parser.isSet(*charactersOnly))
            return refuse(longName(*charactersOnly), QStringLiteral("does not apply to words"));
    }
    PassphraseRecipe& recipe = options.passphrase;
    quint64 wordCount = quint64(recipe.wordCount);
    ValueReader values(parser);
    values.number(option.length, PassphraseMaker::MaximumWords, wordCount);
    if (values.refusal())
        return values.refusal();
    recipe.wordCount = qint32(wordCount);
    if (parser.isSet(option.separator))
        recipe.separator = parser.value(option.separator).toUtf8();
    options.slips.separator = QString::fromUtf8(recipe.separator);
    recipe.capitalize = parser.isSet(option.capitalize);
    recipe.number = parser.isSet(option.number);
    if (parser.isSet(option.wordList)) {
        if (std::optional<UsageError> error = readWordList(parser, option, recipe.words))
            return error;
    } else {
        recipe.words = WordList::large();
    }
    // Making one tells whether the list leaves enough words apart with this separator; it draws nothing.
    QString error;
    if (!PassphraseMaker::create(recipe, SystemRandomSource::instance(), error))
        return refuse(longName(parser.isSet(option.separator) ? option.separator : option.wordList), error);
    return {};
}
