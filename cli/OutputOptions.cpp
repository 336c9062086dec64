#include "cli/OutputOptions.h"

#include "cli/CliOptions.h"
#include "cli/Options.h"
#include "cli/ValueReader.h"
#include "os/SameFile.h"

#include <QCommandLineParser>

namespace {

constexpr Word<HashMethod> Hashes[] = {{"yescrypt", HashMethod::Yescrypt}, {"sha512crypt", HashMethod::Sha512crypt}};
constexpr Word<Paper> Papers[] = {{"a4", Paper::A4}, {"letter", Paper::Letter}};

} // namespace

std::optional<UsageError> readOutputOptions(const QCommandLineParser& parser, const Options& option,
                                            CliOptions& options)
{
    options.slips.paper = paperOfLocale();
    if (parser.isSet(option.hashCost) && !parser.isSet(option.hash))
        return refuse(longName(option.hashCost), QStringLiteral("needs --hash"));
    HashMethod hash = HashMethod::Yescrypt;
    ValueReader values(parser);
    values.format(option.format, options.format);
    values.word(option.paper, Papers, options.slips.paper);
    values.word(option.hash, Hashes, hash);
    quint64 cost = 0;
    values.number(option.hashCost, PasswordHasher::costRange(hash).highest, cost,
                  PasswordHasher::costRange(hash).lowest);
    values.fileName(option.output, options.outputFile);
    values.fileName(option.plain, options.plainFile);
    values.fileName(option.slips, options.slipsFile);
    if (values.refusal())
        return values.refusal();
    // One stream can carry one file.
    const QString taken = QStringLiteral("standard output takes the %1 already");
    const QString records = taken.arg(QStringLiteral("records")) + QStringLiteral(" (-o FILE sends them elsewhere)");
    if (CliOptions::isStandardStream(options.plainFile) && options.recordsToStandardOutput())
        return refuse(longName(option.plain), records);
    if (CliOptions::isStandardStream(options.slipsFile) && options.recordsToStandardOutput())
        return refuse(longName(option.slips), records);
    if (CliOptions::isStandardStream(options.slipsFile) && CliOptions::isStandardStream(options.plainFile))
        return refuse(longName(option.slips), taken.arg(QStringLiteral("plain passwords")));
    // Two outputs in one file would leave only the last one written: the hashes over the plain passwords.
    // Standard output is no file; the lines above keep it to one of them.
    const QCommandLineOption* outputs[] = {&option.output, &option.plain, &option.slips};
    QStringList files;
    for (const QString* file : {&options.outputFile, &options.plainFile, &options.slipsFile})
        files.append(CliOptions::isStandardStream(*file) ? QString() : *file);
    qsizetype earlier = -1;
    if (const qsizetype later = firstRepeatedFile(files, earlier); later >= 0)
        return refuse(longName(*outputs[later]),
                      QStringLiteral("names the same file as ") + longName(*outputs[earlier]));
    if (parser.isSet(option.hash))
        options.hash = hash;
    options.hashCost = static_cast<unsigned long>(cost);

    for (const QCommandLineOption* slipsOnly : {&option.title, &option.paper}) {
        if (parser.isSet(*slipsOnly) && options.slipsFile.isEmpty())
            return refuse(longName(*slipsOnly), QStringLiteral("needs --slips"));
    }
    options.slips.title = parser.value(option.title);
    if (options.hash && options.plainFile.isEmpty() && options.slipsFile.isEmpty())
        return refuse(longName(option.hash), QStringLiteral("the plain passwords need --plain FILE or --slips FILE"));
    options.force = parser.isSet(option.force);
    options.entropy = parser.isSet(option.entropy);
    return {};
}
