// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"

#include "about.h"
#include "picturefiles.h"
#include "settings/slowdown.h"

#include <QCommandLineParser>
#include <QFile>
#include <QLocale>

#include <array>
#include <cmath>

namespace {

const QString Program = QString::fromUtf8(About::Command);

struct Choice {
    const char *text;
    Option option;
};

constexpr std::array Frequencies{Choice{"0.5", Option::op05}, Choice{"1", Option::op1},
                                 Choice{"1.5", Option::op15}};
constexpr std::array Lengths{Choice{"0.5", Option::op05D}, Choice{"1", Option::op1D},
                             Choice{"1.5", Option::op15D}};
constexpr std::array Colours{Choice{"black", Option::opCerna}, Choice{"red", Option::opCervena},
                             Choice{"green", Option::opzelená}, Choice{"blue", Option::opModra}};

constexpr int LargestScale = 4;

struct OptionText {
    const char *name;
    const char *valueName;
    const char *description;
};

// The order of the help text and the manual page.
constexpr OptionText Options[] = {
    {"frequency", "F", "Relative frequency of the light: 0.5, 1 or 1.5 (also 0,5 and 1,5)."},
    {"length", "L", "Relative length of the back-surface arrow: 0.5, 1 or 1.5."},
    {"colour", "C", "Graph colour: black, red, green or blue."},
    {"speed", "N", "Animation slow-down, the scroll bar's value: 1 (fastest) to 30."},
    {"start", nullptr, "Press Start once the window is shown."},
    {"zoom", "Z", "Window zoom: 1 to 4 in steps of 0.25, lowered to fit the screen."},
    {"fullscreen", nullptr, "Full screen, zoomed by the largest step that fits (F11 toggles)."},
    {"sound", nullptr, "Play each curve as a tone whose pitch follows the probability."},
    {"render", "FILE", "Run once without a window and write the finished picture as PNG."},
    {"csv", "FILE", "Run once without a window and write the curve's numbers as CSV."},
    {"scale", "N", "Device pixel ratio of the rendered picture: 1 to 4 (default 1)."},
    {"help", nullptr, "Show this help and exit."},
    {"version", nullptr, "Show the version and exit."},
};

// Qt's own options, as Qt 6 and its X11 platform take them off the line, with "--" as good
// as "-"; those with a value take the next argument, or (withEquals) also "-style=fusion".
struct ToolkitOption {
    const char *name;
    bool value;
    bool withEquals;
};
constexpr ToolkitOption ToolkitOptions[] = {
    {"platform", true, false},        {"platformpluginpath", true, false},
    {"platformtheme", true, false},   {"plugin", true, false},
    {"qwindowgeometry", true, false}, {"geometry", true, false},
    {"qwindowtitle", true, false},    {"title", true, false},
    {"qwindowicon", true, false},     {"icon", true, false},
    {"session", true, false},         {"style", true, true},
    {"stylesheet", true, true},       {"qmljsdebugger", true, true},
    {"display", true, false},         {"name", true, false},
    {"visual", true, false},          {"glxfbconfig", true, false},
    {"reverse", false, false},        {"testability", false, false},
    {"widgetcount", false, false},    {"sync", false, false},
    {"nograb", false, false},         {"dograb", false, false},
};

// Takes Qt's options off the arguments (the program first); returns the error, if any.
QString takeToolkitOptions(QStringList *arguments, CommandLine *line)
{
    QStringList rest;
    for (qsizetype i = 0; i < arguments->size(); ++i) {
        const QString &argument = arguments->at(i);
        QString name = argument;
        if (name.startsWith(u"--"))
            name.remove(0, 1);
        // After "--" nothing is an option.
        if (argument == u"--") {
            rest += arguments->mid(i);
            break;
        }
        if (i == 0 || !name.startsWith(u'-')) {
            rest << argument;
            continue;
        }
        name.remove(0, 1);
        const ToolkitOption *found = nullptr;
        QString value;
        bool hasValue = false;
        for (const ToolkitOption &option : ToolkitOptions) {
            const QLatin1String known(option.name);
            if (name == known) {
                found = &option;
            } else if (option.withEquals && name.startsWith(known + u'=')) {
                found = &option;
                value = name.mid(known.size() + 1);
                hasValue = true;
            }
            if (found)
                break;
        }
        if (!found) {
            rest << argument;
            continue;
        }
        if (found->value && !hasValue) {
            if (i + 1 >= arguments->size())
                return QStringLiteral("%1: %2 needs a value (see %1 --help)")
                    .arg(Program, argument);
            value = arguments->at(++i);
        }
        const QLatin1String option(found->name);
        if (option == QLatin1String("platform"))
            line->platform = value;
        else if (option == QLatin1String("platformpluginpath"))
            line->platformPluginPath = value;
        else if (option == QLatin1String("display")) {
            // An X display name is [host]:display[.screen].
            if (!value.contains(u':'))
                return QStringLiteral("%1: %2 %3: allowed are X display names such as :0")
                    .arg(Program, argument, value);
            line->display = value;
        }
    }
    *arguments = rest;
    return {};
}

QString badValue(const QString &option, const QString &value, const QString &allowed)
{
    return QStringLiteral("%1: --%2 %3: allowed are %4").arg(Program, option, value, allowed);
}

// A number with a decimal point or comma, whatever the user's locale.
std::optional<double> decimal(QString value)
{
    value.replace(u',', u'.');
    bool ok = false;
    const double number = QLocale::c().toDouble(value, &ok);
    return ok ? std::optional(number) : std::nullopt;
}

template <std::size_t N>
std::optional<Option> choose(const std::array<Choice, N> &choices, QString value, bool number)
{
    if (number) {
        const std::optional<double> given = decimal(value);
        if (!given)
            return std::nullopt;
        for (const Choice &choice : choices)
            if (*given == decimal(QString::fromLatin1(choice.text)))
                return choice.option;
        return std::nullopt;
    }
    for (const Choice &choice : choices)
        if (value == QLatin1String(choice.text))
            return choice.option;
    return std::nullopt;
}

std::optional<int> wholeNumber(const QString &value, int least, int greatest)
{
    bool ok = false;
    const int n = value.toInt(&ok, 10);
    if (!ok || n < least || n > greatest)
        return std::nullopt;
    return n;
}

// A quarter step from 1 to the largest zoom, so that the window's layout, laid out on a grid
// of 4 pixels, lands on whole device pixels.
std::optional<double> zoomStep(const QString &value)
{
    const std::optional<double> zoom = decimal(value);
    if (!zoom || *zoom < 1 || *zoom > CommandLine::LargestZoom ||
        *zoom / CommandLine::ZoomStep != std::floor(*zoom / CommandLine::ZoomStep))
        return std::nullopt;
    return zoom;
}

} // namespace

CommandLine CommandLine::parse(int argc, const char *const *argv, Stage stage)
{
    QStringList arguments;
    QString unusable;
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        arguments << QFile::decodeName(bytes);
        if (i > 0 && unusable.isEmpty() && QFile::encodeName(arguments.back()) != bytes)
            unusable = arguments.back();
    }
    // Decoding such a name would write a file of another name.
    if (!unusable.isEmpty()) {
        CommandLine line;
        line.error =
            QStringLiteral("%1: '%2' cannot be used: it is not valid UTF-8").arg(Program, unusable);
        return line;
    }
    return parse(arguments, stage);
}

CommandLine CommandLine::parse(const QStringList &given, Stage stage)
{
    CommandLine line;
    QStringList arguments = given;
    if (stage == Stage::BeforeToolkit) {
        line.error = takeToolkitOptions(&arguments, &line);
        if (!line.error.isEmpty())
            return line;
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionText &o : Options) {
        QStringList names{QString::fromLatin1(o.name)};
        if (names.front() == u"help")
            names << QStringLiteral("h");
        QCommandLineOption option(names, QString::fromLatin1(o.description));
        if (o.valueName)
            option.setValueName(QString::fromLatin1(o.valueName));
        parser.addOption(option);
    }
    const auto fail = [&line](const QString &reason) {
        line.error = reason;
        return line;
    };
    if (!parser.parse(arguments)) {
        QString why = parser.errorText();
        if (why.endsWith(u'.'))
            why.chop(1);
        why[0] = why[0].toLower();
        return fail(QStringLiteral("%1: %2 (see %1 --help)").arg(Program, why));
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("%1: unexpected argument '%2': %1 takes options only (see %1 "
                                   "--help)")
                        .arg(Program, parser.positionalArguments().front()));
    if (parser.isSet(QStringLiteral("help"))) {
        line.action = Action::Help;
        return line;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        line.action = Action::Version;
        return line;
    }

    const auto value = [&parser](const char *name) {
        return parser.value(QString::fromLatin1(name));
    };
    const auto isSet = [&parser](const char *name) {
        return parser.isSet(QString::fromLatin1(name));
    };
    if (isSet("frequency") && !(line.frequency = choose(Frequencies, value("frequency"), true)))
        return fail(badValue(QStringLiteral("frequency"), value("frequency"),
                             QStringLiteral("0.5, 1 and 1.5")));
    if (isSet("length") && !(line.length = choose(Lengths, value("length"), true)))
        return fail(
            badValue(QStringLiteral("length"), value("length"), QStringLiteral("0.5, 1 and 1.5")));
    if (isSet("colour") && !(line.colour = choose(Colours, value("colour"), false)))
        return fail(badValue(QStringLiteral("colour"), value("colour"),
                             QStringLiteral("black, red, green and blue")));
    if (isSet("speed") &&
        !(line.speed = wholeNumber(value("speed"), SlowDown::Fastest, SlowDown::Slowest)))
        return fail(badValue(QStringLiteral("speed"), value("speed"),
                             QStringLiteral("whole numbers from %1 to %2")
                                 .arg(SlowDown::Fastest)
                                 .arg(SlowDown::Slowest)));
    line.start = isSet("start");
    if (isSet("zoom") && !(line.zoom = zoomStep(value("zoom"))))
        return fail(badValue(QStringLiteral("zoom"), value("zoom"),
                             QStringLiteral("1 to 4 in steps of 0.25")));
    line.fullscreen = isSet("fullscreen");
    line.sound = isSet("sound");

    for (const char *name : {"render", "csv"}) {
        if (isSet(name) && value(name).isEmpty())
            return fail(QStringLiteral("%1: --%2 needs a file name").arg(Program, name));
    }
    line.picturePath = value("render");
    line.csvPath = value("csv");
    if (!line.picturePath.isEmpty() || !line.csvPath.isEmpty())
        line.action = Action::Render;
    if (line.action == Action::Render && (line.zoom || line.fullscreen))
        return fail(QStringLiteral("%1: --%2 is for the window; a render takes --scale")
                        .arg(Program, line.zoom ? "zoom" : "fullscreen"));
    if (isSet("scale")) {
        const auto scale = wholeNumber(value("scale"), 1, LargestScale);
        if (!scale)
            return fail(badValue(QStringLiteral("scale"), value("scale"),
                                 QStringLiteral("whole numbers from 1 to %1").arg(LargestScale)));
        if (line.picturePath.isEmpty())
            return fail(
                QStringLiteral("%1: --scale %2: only with --render").arg(Program, value("scale")));
        line.scale = *scale;
    }
    if (line.picturePath == PictureFiles::StandardOutput &&
        line.csvPath == PictureFiles::StandardOutput)
        return fail(QStringLiteral("%1: --render - --csv -: only one of them can go to standard "
                                   "output")
                        .arg(Program));
    if (!line.picturePath.isEmpty() && !line.csvPath.isEmpty() &&
        PictureFiles::sameFile(line.picturePath, line.csvPath))
        return fail(QStringLiteral("%1: --render %2 --csv %3: both name the same file")
                        .arg(Program, line.picturePath, line.csvPath));
    return line;
}

QString CommandLine::helpText()
{
    QString text = QStringLiteral(
        "Usage: quorvane [OPTION]...\n"
        "Partial reflection of light by a sheet of glass with two surfaces.\n"
        "\n"
        "Presets are applied after start-up as the matching clicks would be, in the order\n"
        "frequency, length, colour, speed, start. A frequency also chooses its colour, so\n"
        "give --colour to plot in another.\n"
        "\n"
        "Options:\n");
    for (const OptionText &o : Options) {
        QString names = QStringLiteral("--") + QString::fromLatin1(o.name);
        if (o.valueName)
            names += u' ' + QString::fromLatin1(o.valueName);
        if (names == u"--help")
            names = QStringLiteral("-h, --help");
        text += QStringLiteral("  %1%2\n").arg(names, -16).arg(QString::fromLatin1(o.description));
    }
    text += QStringLiteral(
        "\n"
        "Examples:\n"
        "  quorvane --frequency 0.5 --length 0.5 --speed 10 --start\n"
        "  quorvane --fullscreen --start\n"
        "  quorvane --render curve.png --csv curve.csv --frequency 0.5 --scale 2\n"
        "\n"
        "A FILE of - is standard output, for one of --render and --csv; /dev/stdout,\n"
        "/dev/fd/N and the like are written through that descriptor as - is. A device or\n"
        "FIFO is written in place and never replaced; a regular file, or the one a link\n"
        "leads to, is written whole or not at all. --render writes PNG whatever the suffix.\n"
        "Qt's own options, such as -platform, -display and -style, are Qt's; a render shows\n"
        "no window whatever they say.\n"
        "\n"
        "Exit status: 0 on success, 1 when a file cannot be written or no display can be\n"
        "opened, 2 for bad arguments (Qt's options among them), found before any display.\n");
    return text;
}

QString CommandLine::versionText()
{
    return QStringLiteral("%1 %2\n%3\nLicence %4: GNU GPL version 3 or later "
                          "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n")
        .arg(Program, QString::fromUtf8(About::Version), QString::fromUtf8(About::Copyright),
             QString::fromUtf8(About::License));
}
