// varnel-cli: the generator on the command line, for scripts and pipelines.
#include "cli/CommandLine.h"
#include "cli/Generation.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varnel-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNEL_VERSION));

    const CommandLine line = parseCommandLine(QCoreApplication::arguments());
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
