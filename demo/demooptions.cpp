#include "demooptions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QImageWriter>

namespace {

DemoCommandLine failure(const QString &message)
{
    DemoCommandLine result;
    result.outcome = DemoCommandLine::Error;
    result.text = QStringLiteral("Aspirello-demo: %1\nSee Aspirello-demo --help.").arg(message);
    return result;
}

QString wrongValue(const QString &option, const QString &value, const QString &wanted)
{
    return QStringLiteral("--%1 \"%2\": %3").arg(option, value, wanted);
}

} // namespace

DemoCommandLine parseDemoCommandLine(const QStringList &arguments)
{
    const DemoOptions defaults;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Aspirello on a simulated measuring board."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and exit."));
    const QCommandLineOption autoOption(
        QStringLiteral("auto"), QStringLiteral("Open the board's port and poll it continuously."));
    const QCommandLineOption periodOption(QStringLiteral("period"),
                                          QStringLiteral("Poll period in ms, %1 to %2 (default %3).")
                                              .arg(kShortestPollMs)
                                              .arg(kLongestPollMs)
                                              .arg(defaults.periodMs),
                                          QStringLiteral("MS"));
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the window after --frames accepted frames, then exit; "
                       "the extension names the format (.png, .jpg)."),
        QStringLiteral("FILE"));
    const QCommandLineOption framesOption(
        QStringLiteral("frames"),
        QStringLiteral("Accepted frames before the screenshot (default %1).").arg(defaults.frames),
        QStringLiteral("N"));
    const QCommandLineOption seedOption(
        QStringLiteral("seed"),
        QStringLiteral("Seed of the simulated engine (default %1).").arg(defaults.seed),
        QStringLiteral("N"));
    const QCommandLineOption verboseOption(
        QStringLiteral("verbose"), QStringLiteral("Print the gauge's debug lines, one per reading."));
    const QCommandLineOption firmwareOption(
        QStringLiteral("firmware"),
        QStringLiteral("Run the board's own firmware in a simulated ATmega328P, its sensors fed by "
                       "the simulated engine, instead of the simulated board."));
    parser.addOptions({helpOption, autoOption, periodOption, screenshotOption, framesOption,
                       seedOption, verboseOption, firmwareOption});

    if (!parser.parse(arguments))
        return failure(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return failure(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    if (parser.isSet(helpOption)) {
        DemoCommandLine help;
        help.outcome = DemoCommandLine::ShowHelp;
        help.text = parser.helpText();
        return help;
    }

    DemoCommandLine result;
    DemoOptions &options = result.options;
    options.autoStart = parser.isSet(autoOption);
    options.verbose = parser.isSet(verboseOption);
    options.firmware = parser.isSet(firmwareOption);

    if (parser.isSet(periodOption)) {
        const QString value = parser.value(periodOption);
        bool ok = false;
        options.periodMs = value.toInt(&ok);
        if (!ok || options.periodMs < kShortestPollMs || options.periodMs > kLongestPollMs)
            return failure(wrongValue(QStringLiteral("period"), value,
                                      QStringLiteral("a whole number of milliseconds from %1 to %2")
                                          .arg(kShortestPollMs)
                                          .arg(kLongestPollMs)));
    }
    if (parser.isSet(seedOption)) {
        const QString value = parser.value(seedOption);
        bool ok = false;
        options.seed = value.toULongLong(&ok);
        if (!ok)
            return failure(wrongValue(QStringLiteral("seed"), value,
                                      QStringLiteral("a whole number from 0 up")));
    }
    if (parser.isSet(framesOption)) {
        const QString value = parser.value(framesOption);
        if (!parser.isSet(screenshotOption))
            return failure(QStringLiteral("--frames %1 counts frames before a screenshot; "
                                          "give --screenshot FILE too")
                               .arg(value));
        bool ok = false;
        options.frames = value.toInt(&ok);
        if (!ok || options.frames < 1)
            return failure(wrongValue(QStringLiteral("frames"), value,
                                      QStringLiteral("a whole number from 1 up")));
    }
    if (parser.isSet(screenshotOption)) {
        const QString value = parser.value(screenshotOption);
        const QByteArray format = QFileInfo(value).suffix().toLower().toLatin1();
        if (value.isEmpty() || QFileInfo(value).fileName().isEmpty())
            return failure(
                wrongValue(QStringLiteral("screenshot"), value, QStringLiteral("a file name")));
        if (format.isEmpty() || !QImageWriter::supportedImageFormats().contains(format))
            return failure(wrongValue(QStringLiteral("screenshot"), value,
                                      QStringLiteral("the extension names no picture format "
                                                     "known here; use .png or .jpg")));
        options.screenshot = value;
        options.screenshotFormat = format;
    }
    return result;
}
