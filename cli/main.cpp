// varnel-cli: the generator on the command line, for scripts and pipelines.
#include "cli/CommandLine.h"
#include "cli/Generation.h"
#include "prefs/NativeFileName.h"
#include "prefs/ProcessStart.h"
#include "prefs/SafeFileWriter.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    secureProcessStart();
    SafeFileWriter::removeTemporaryFilesOnSignals();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varnel-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNEL_VERSION));

    // File names are bytes: each argument is taken so that every byte of it comes back when the file is opened.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(fileNameFromArgument(argv[i]));
    const CommandLine line = parseCommandLine(arguments);
    switch (line.action) {
    case CommandLine::Action::Print:
        std::fputs(line.text.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fputs(QStringLiteral("%1: %2 (see %1 --help)\n")
                       .arg(QCoreApplication::applicationName(), line.text)
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        return 2;
    case CommandLine::Action::Generate:
        break;
    }
    return generate(line.options);
}
