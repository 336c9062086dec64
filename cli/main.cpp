// varnel-cli: the generator on the command line, for scripts and pipelines.
#include "cli/CommandLine.h"
#include "cli/Complaint.h"
#include "cli/Generation.h"
#include "cli/SlipsLoader.h"
#include "os/NativeFileName.h"
#include "os/ProcessStart.h"
#include "os/SafeFileWriter.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {
void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("varnel-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNEL_VERSION));
}
} // namespace

int main(int argc, char** argv)
{
    secureProcessStart();
    SafeFileWriter::removeTemporaryFilesOnSignals();
    // The toolkit gets the program's name alone: it would take option values such as "-platform" as its own.
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(toolkitArgc, toolkitArgv);
    nameApplication();

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
        return complainOf(line.refusal);
    case CommandLine::Action::Generate:
        break;
    }

    // Only a run that draws slips loads the GUI libraries, and its application object is one that draws.
    std::unique_ptr<SlipsLoader> slips;
    if (!line.options.slipsFile.isEmpty()) {
        QString error;
        slips = SlipsLoader::load(error);
        if (!slips)
            return complain(QStringLiteral("--slips"), error);
        app.reset();
        app = slips->makeApplication(toolkitArgc, toolkitArgv);
        nameApplication();
    }
    return generate(line.options, slips.get());
}
