#include "app/shell/CommandLine.h"

#include "app/ReleaseUpdate.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace velquor::shell {

namespace {

const QString description = QStringLiteral(
    "Inspects text and files for hidden characters, secrets, tracking and metadata, and writes cleaned "
    "text or privacy copies.\nWith paths, opens them in the running Velquor.");

CommandLine commandOf(const QCommandLineParser& parser) {
    CommandLine command{.cleanSelection = parser.isSet(QStringLiteral("clean-selection")),
                        .service = parser.isSet(QStringLiteral("service")),
                        .paths = {}};
    for (const QString& path : parser.positionalArguments()) {
        command.paths.push_back(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
    }
    return command;
}

}  // namespace

// A plain core application is enough to parse and print; the window's application comes after
// it, and only when a window is wanted.
ParsedCommandLine parseCommandLine(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velquor"));
    QCoreApplication::setApplicationVersion(app::runningVersion());

    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption({QStringLiteral("clean-selection"),
                      QStringLiteral("Clean the text selected in any application onto the clipboard, for "
                                     "pasting over it.")});
    QCommandLineOption service(QStringLiteral("service"));
    service.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(service);
    parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("Text files, files or folders to open."),
                                 QStringLiteral("[PATH…]"));

    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "velquor: %s\nTry 'velquor --help'.\n", qUtf8Printable(parser.errorText()));
        return {.command = std::nullopt, .exitStatus = 2};
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qUtf8Printable(parser.helpText()), stdout);
        return {.command = std::nullopt, .exitStatus = 0};
    }
    if (parser.isSet(version)) {
        std::printf("velquor %s\n", qUtf8Printable(app::runningVersion()));
        return {.command = std::nullopt, .exitStatus = 0};
    }
    return {.command = commandOf(parser), .exitStatus = 0};
}

}  // namespace velquor::shell
