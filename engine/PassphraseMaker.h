#pragma once

#include "engine/UniformIndex.h"
#include "engine/WordList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

class RandomSource;

// What a passphrase is made of.
struct PassphraseRecipe
{
    qint32 wordCount = 6;
    WordList words = WordList::large();
    // Between two words; may be empty.
    QByteArray separator = "-";
    // Each word's first letter in upper case.
    bool capitalize = false;
    // One digit, 0 to 9, right after one of the words.
    bool number = false;
};

// Makes passphrases: words drawn independently and uniformly from the list, joined by the separator.
//
// Every passphrase the recipe allows is equally likely, and entropyBits() is log2 of their exact number, because
// no two different draws ever give the same text. To that end a run leaves out of its list every word that
// could be confused with another reading of the text:
// - with capitals, words that differ only in the case of their first letter count once;
// - with a number, words that hold a digit;
// - with a separator, words that hold it, or that would make it appear anywhere but between two words (with a
//   separator of several characters, "a-" and "-b" around "--" would read "a---b" both as a- -- b and as
//   a -- -b);
// - with no separator, words that hold a character some word starts with anywhere but at their start, so that
//   each word's first character marks where it begins (with capitals, a word with a capital inside).
// With the default separator "-" the large list loses its four hyphenated words (drop-down, felt-tip, t-shirt,
// yo-yo) and keeps 7772.
class PassphraseMaker
{
public:
    static constexpr qint32 MaximumWords = 100000;

    // The maker for a recipe, or none with `error` saying why the recipe cannot be used: a word count outside
    // 1 to MaximumWords, or a run that would leave out more than half of the list's words (a separator found in
    // most words, or no separator and no capitals). The error is a usage error, worded for the user.
    static std::optional<PassphraseMaker> create(const PassphraseRecipe& recipe, RandomSource& source, QString& error);

    // A passphrase into `text`. False when the source has no more secure bytes.
    bool makePassword(QByteArray& text);

    // log2 of the number of different passphrases: wordCount x log2(words in use), plus log2(10 x wordCount)
    // with a number.
    double entropyBits() const;

    // How many words of the list this run draws from.
    qsizetype wordsInUse() const { return qsizetype(starts_.size()) - 1; }

    // The separator appears in a passphrase only between two words, never inside or across one, so a printed
    // slip may break a long passphrase after any of its separators: the words typed back give the same text.
    QByteArrayView separator() const { return separator_; }

private:
    PassphraseMaker(const QByteArrayList& words, const PassphraseRecipe& recipe, RandomSource& source);

    QByteArray wordBytes_;
    std::vector<quint32> starts_;
    QByteArray separator_;
    RandomSource* source_;
    qint32 wordCount_;
    bool number_;
    UniformIndex wordIndex_;
    UniformIndex numberIndex_;
    std::vector<quint32> drawn_;
};
