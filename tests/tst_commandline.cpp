// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line: what it accepts, how the presets reach the window, and the program
// itself run from a plain environment, without an X server, to render a picture and a CSV.

#include "about.h"
#include "app/commandlineactions.h"
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "app/screenzoom.h"
#include "export/commandline.h"
#include "export/picturefiles.h"
#include "screen/screenupdates.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString optionName(std::optional<Option> option)
{
    if (!option)
        return {};
    switch (*option) {
    case Option::op05:
    case Option::op05D:
        return QStringLiteral("0.5");
    case Option::op1:
    case Option::op1D:
        return QStringLiteral("1");
    case Option::op15:
    case Option::op15D:
        return QStringLiteral("1.5");
    case Option::opCerna:
        return QStringLiteral("black");
    case Option::opCervena:
        return QStringLiteral("red");
    case Option::opzelená:
        return QStringLiteral("green");
    case Option::opModra:
        return QStringLiteral("blue");
    default:
        return QStringLiteral("?");
    }
}

// What the parser made of a line, in one comparable string.
QString summary(const CommandLine &line)
{
    if (!line.error.isEmpty())
        return QStringLiteral("error: ") + line.error;
    const char *actions[] = {"window", "render", "help", "version"};
    QStringList parts{QString::fromLatin1(actions[int(line.action)])};
    const auto add = [&parts](const char *name, const QString &value) {
        if (!value.isEmpty())
            parts << QString::fromLatin1(name) + u'=' + value;
    };
    add("frequency", optionName(line.frequency));
    add("length", optionName(line.length));
    add("colour", optionName(line.colour));
    add("speed", line.speed ? QString::number(*line.speed) : QString());
    add("start", line.start ? QStringLiteral("yes") : QString());
    add("render", line.picturePath);
    add("csv", line.csvPath);
    add("scale", line.scale != 1 ? QString::number(line.scale) : QString());
    add("zoom", line.zoom ? QString::number(*line.zoom) : QString());
    add("fullscreen", line.fullscreen ? QStringLiteral("yes") : QString());
    return parts.join(u' ');
}

struct Program {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The program (or a shell that runs it) as a script starts it: no DISPLAY, no platform
// chosen.
// A window that must keep running (keepsRunning) is ended once it has said what it says at
// start: the status is then -2 while it still ran.
Program runProgram(QProcess *started, const QString &program, const QStringList &arguments,
                   const QString &runtimeDir, const QStringList &extra = {},
                   const QByteArray &keepsRunning = {})
{
    QProcess &process = *started;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    for (const QString &variable : extra)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForStarted(60000);
    if (!keepsRunning.isEmpty()) {
        QByteArray err;
        QDeadlineTimer deadline(60000);
        while (!err.contains(keepsRunning) && !deadline.hasExpired() &&
               process.state() == QProcess::Running) {
            process.waitForReadyRead(100);
            err += process.readAllStandardError();
        }
        // A moment more, to see that it goes on and says no more.
        if (!process.waitForFinished(1000)) {
            process.kill();
            process.waitForFinished();
            return {-2, process.readAllStandardOutput(), err + process.readAllStandardError()};
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), err + process.readAllStandardError()};
    }
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, "did not finish within a minute"};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

Program runProgram(const QStringList &arguments, const QString &runtimeDir,
                   const QStringList &extra = {}, const QByteArray &keepsRunning = {})
{
    QProcess process;
    return runProgram(&process, QStringLiteral(QUORVANE_EXE), arguments, runtimeDir, extra,
                      keepsRunning);
}

// What a file holds, in a word: a picture, a CSV, or the text itself; "old+csv" for a CSV
// after a line "old".
QString kindOf(const QByteArray &content)
{
    if (content.startsWith("old\n") && content.size() > 4)
        return QStringLiteral("old+") + kindOf(content.mid(4));
    if (content.startsWith("\x89PNG"))
        return QStringLiteral("png");
    if (content.startsWith("run,"))
        return QStringLiteral("csv");
    return QString::fromUtf8(content.trimmed());
}

// A folder's entries, hidden ones too, with what each is.
QString listing(const QString &folder)
{
    QStringList entries;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat status = {};
        ::lstat(path.constData(), &status);
        if (S_ISLNK(status.st_mode))
            entries << name + "->" + QFileInfo(QFile::symLinkTarget(dir.filePath(name))).fileName();
        else if (S_ISFIFO(status.st_mode))
            entries << name + "=fifo";
        else if (S_ISDIR(status.st_mode))
            entries << name + u'/';
        else {
            QFile file(dir.filePath(name));
            entries << name + u'=' +
                           (file.open(QIODevice::ReadOnly) ? kindOf(file.readAll()) : "?");
        }
    }
    return entries.join(u' ');
}

struct CsvRow {
    int run = 0;
    QString colour;
    int thickness = 0;
    double probability = 0;
};

std::vector<CsvRow> readCsv(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.readAll().split('\n');
    std::vector<CsvRow> rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines.at(i).trimmed().split(',');
        if (f.size() == 8)
            rows.push_back(
                {f.at(0).toInt(), QString::fromUtf8(f.at(3)), f.at(4).toInt(), f.at(7).toDouble()});
    }
    return rows;
}

// Rows from one high to the next, from the turning points of the probability.
double period(const std::vector<CsvRow> &rows)
{
    std::vector<int> turns;
    for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
        const double a = rows[i - 1].probability, b = rows[i].probability,
                     c = rows[i + 1].probability;
        if ((b > a && b >= c) || (b < a && b <= c))
            turns.push_back(rows[i].thickness);
    }
    if (turns.size() < 2)
        return 0;
    return 2.0 * (turns.back() - turns.front()) / double(turns.size() - 1);
}

// Whether a pixel of the colour lies within a logical pixel of the logical position.
bool near(const QImage &image, double x, double y, QRgb colour, int scale)
{
    for (int dy = -scale; dy <= scale; ++dy)
        for (int dx = -scale; dx <= scale; ++dx) {
            const int px = int(std::floor(x * scale)) + dx;
            const int py = int(std::floor(y * scale)) + dy;
            if (image.valid(px, py) && image.pixel(px, py) == colour)
                return true;
        }
    return false;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parse_data();
    void parse();
    void presetsActAsClicks_data();
    void presetsActAsClicks();
    void zoomForTheScreen_data();
    void zoomForTheScreen();
    void badArguments_data();
    void badArguments();
    void headlessRender_data();
    void headlessRender();
    void writtenFiles_data();
    void writtenFiles();
    void sharedMemoryChoice_data();
    void sharedMemoryChoice();
    void suggestedNames_data();
    void suggestedNames();

private:
    QTemporaryDir m_dir;
    // The program where another user can reach it, for the rows that drop root's rights.
    QTemporaryDir m_sharedDir;
    QString m_programForOthers;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QApplication::setApplicationName(QString::fromUtf8(About::Name));
    // The build folder may lie where only its owner may enter (root's home, a mktemp -d
    // folder); the program links its own libraries statically, so a copy runs anywhere.
    if (::geteuid() == 0 && m_sharedDir.isValid()) {
        const QString copy = m_sharedDir.filePath(QStringLiteral("quorvane"));
        const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                              QFileDevice::ExeGroup | QFileDevice::ReadOther |
                              QFileDevice::ExeOther;
        if (QFile::setPermissions(m_sharedDir.path(), everyone) &&
            QFile::copy(QStringLiteral(QUORVANE_EXE), copy) &&
            QFile::setPermissions(copy, everyone))
            m_programForOthers = copy;
    }
    Fonts::installSubstitutions();
}

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("parsed");

    QTest::newRow("nothing") << QStringList{} << "window";
    QTest::newRow("every preset")
        << QStringList{"--frequency", "0.5",     "--length", "1.5",    "--colour",
                       "blue",        "--speed", "30",       "--start"}
        << "window frequency=0.5 length=1.5 colour=blue speed=30 start=yes";
    QTest::newRow("decimal comma and =")
        << QStringList{"--frequency=1,5", "--length", "0,5"} << "window frequency=1.5 length=0.5";
    QTest::newRow("1.0 is 1") << QStringList{"--frequency", "1.0"} << "window frequency=1";
    QTest::newRow("render with scale")
        << QStringList{"--render", "a.png", "--scale", "2", "--frequency", "0.5"}
        << "render frequency=0.5 render=a.png scale=2";
    QTest::newRow("zoom and full screen")
        << QStringList{"--zoom", "1.75", "--fullscreen"} << "window zoom=1.75 fullscreen=yes";
    QTest::newRow("zoom with a decimal comma") << QStringList{"--zoom=2,25"} << "window zoom=2.25";
    QTest::newRow("zoom 4") << QStringList{"--zoom", "4"} << "window zoom=4";
    QTest::newRow("zoom 1.1") << QStringList{"--zoom", "1.1"}
                              << "error: quorvane: --zoom 1.1: allowed are 1 to 4 in steps of 0.25";
    QTest::newRow("zoom 0.5") << QStringList{"--zoom", "0.5"}
                              << "error: quorvane: --zoom 0.5: allowed are 1 to 4 in steps of 0.25";
    QTest::newRow("zoom 4.25") << QStringList{"--zoom", "4.25"}
                               << "error: quorvane: --zoom 4.25: allowed are 1 to 4 in steps of "
                                  "0.25";
    QTest::newRow("zoom big") << QStringList{"--zoom", "large"}
                              << "error: quorvane: --zoom large: allowed are 1 to 4 in steps of "
                                 "0.25";
    QTest::newRow("full screen with a render")
        << QStringList{"--render", "a.png", "--fullscreen"}
        << "error: quorvane: --fullscreen is for the window; a render takes --scale";
    QTest::newRow("csv alone") << QStringList{"--csv", "a.csv"} << "render csv=a.csv";
    QTest::newRow("help wins") << QStringList{"--speed", "5", "--help"} << "help";
    QTest::newRow("-h") << QStringList{"-h"} << "help";
    QTest::newRow("version") << QStringList{"--version"} << "version";
    QTest::newRow("what Qt leaves is ours alone")
        << QStringList{"-platform", "offscreen", "--start"}
        << "error: quorvane: unknown option 'platform' (see quorvane --help)";
    QTest::newRow("standard output for one")
        << QStringList{"--render", "-", "--csv", "a.csv"} << "render render=- csv=a.csv";
    QTest::newRow("standard output for both")
        << QStringList{"--render", "-", "--csv", "-"}
        << "error: quorvane: --render - --csv -: only one of them can go to standard output";
    QTest::newRow("the same name for both")
        << QStringList{"--render", "a.png", "--csv", "a.png"}
        << "error: quorvane: --render a.png --csv a.png: both name the same file";
    QTest::newRow("frequency 2") << QStringList{"--frequency", "2"}
                                 << "error: quorvane: --frequency 2: allowed are 0.5, 1 and 1.5";
    QTest::newRow("length 0") << QStringList{"--length", "0"}
                              << "error: quorvane: --length 0: allowed are 0.5, 1 and 1.5";
    QTest::newRow("colour in Czech")
        << QStringList{"--colour", "zelená"}
        << "error: quorvane: --colour zelená: allowed are black, red, green and blue";
    QTest::newRow("speed 0") << QStringList{"--speed", "0"}
                             << "error: quorvane: --speed 0: allowed are whole numbers from 1 "
                                "to 30";
    QTest::newRow("speed abc") << QStringList{"--speed", "abc"}
                               << "error: quorvane: --speed abc: allowed are whole numbers from "
                                  "1 to 30";
    QTest::newRow("speed 2.5") << QStringList{"--speed", "2.5"}
                               << "error: quorvane: --speed 2.5: allowed are whole numbers from "
                                  "1 to 30";
    QTest::newRow("scale 5") << QStringList{"--render", "a.png", "--scale", "5"}
                             << "error: quorvane: --scale 5: allowed are whole numbers from 1 "
                                "to 4";
    QTest::newRow("scale without render")
        << QStringList{"--scale", "2"} << "error: quorvane: --scale 2: only with --render";
    QTest::newRow("unknown option")
        << QStringList{"--foo"} << "error: quorvane: unknown option 'foo' (see quorvane --help)";
    QTest::newRow("missing value")
        << QStringList{"--render"}
        << "error: quorvane: missing value after '--render' (see quorvane --help)";
    QTest::newRow("stray argument")
        << QStringList{"picture.png"}
        << "error: quorvane: unexpected argument 'picture.png': quorvane takes options only (see "
           "quorvane --help)";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, parsed);
    QCOMPARE(summary(CommandLine::parse(QStringList{"quorvane"} + arguments)), parsed);
}

void TestCommandLine::presetsActAsClicks_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("slowDown");

    QTest::newRow("frequency chooses its colour") << QStringList{"--frequency", "0.5"} << "0.5"
                                                  << "1"
                                                  << "červená"
                                                  << "1";
    QTest::newRow("colour after frequency, whatever the order")
        << QStringList{"--colour", "green", "--frequency", "0,5"} << "0.5"
        << "1"
        << "zelená"
        << "1";
    QTest::newRow("length, black, speed")
        << QStringList{"--speed", "12", "--colour", "black", "--length", "1.5"} << "1"
        << "1.5"
        << "černá"
        << "12";
}

void TestCommandLine::presetsActAsClicks()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, frequency);
    QFETCH(QString, length);
    QFETCH(QString, colour);
    QFETCH(QString, slowDown);

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    MainWindow window;
    applyPresets(window, CommandLine::parse(QStringList{"quorvane"} + arguments));
    const auto field = [&window](const char *name) {
        return window.findChild<QLineEdit *>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(field("nFrekvence"), frequency);
    QCOMPARE(field("nNasob"), length);
    QCOMPARE(field("nBarva"), colour);
    QCOMPARE(field("nSpomaleni"), slowDown);
    QCOMPARE(QString::number(window.findChild<QScrollBar *>(QStringLiteral("HScroll1"))->value()),
             slowDown);
}

void TestCommandLine::zoomForTheScreen_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<double>("current"); // QT_SCALE_FACTOR
    QTest::addColumn<QSize>("available");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<bool>("lowered");

    const QStringList full{"--fullscreen"};
    QTest::newRow("full screen, 1920 x 1080") << full << 1.0 << QSize(1920, 1080) << 1.75 << false;
    QTest::newRow("full screen, 3840 x 2160") << full << 1.0 << QSize(3840, 2160) << 3.5 << false;
    QTest::newRow("full screen, 1280 x 1024") << full << 1.0 << QSize(1280, 1024) << 1.5 << false;
    QTest::newRow("full screen, 8K stops at 4") << full << 1.0 << QSize(7680, 4320) << 4.0 << false;
    QTest::newRow("full screen over QT_SCALE_FACTOR")
        << full << 3.0 << QSize(1920, 1080) << 1.75 << false;
    QTest::newRow("full screen, zoom of its own")
        << QStringList{"--fullscreen", "--zoom", "2"} << 2.0 << QSize(3840, 2160) << 2.0 << false;
    QTest::newRow("zoom 1.5 fits")
        << QStringList{"--zoom", "1.5"} << 1.5 << QSize(1920, 1080) << 1.5 << false;
    QTest::newRow("zoom 3 lowered")
        << QStringList{"--zoom", "3"} << 3.0 << QSize(1920, 1080) << 1.75 << true;
    QTest::newRow("just fits") << QStringList{"--zoom", "2"} << 2.0 << QSize(1600, 1162) << 2.0
                               << false;
    QTest::newRow("a pixel short")
        << QStringList{"--zoom", "2"} << 2.0 << QSize(1600, 1161) << 1.75 << true;
    QTest::newRow("QT_SCALE_FACTOR 1.1 fits")
        << QStringList{} << 1.1 << QSize(1920, 1080) << 1.1 << false;
    QTest::newRow("QT_SCALE_FACTOR 3 lowered")
        << QStringList{} << 3.0 << QSize(1920, 1080) << 1.75 << true;
    QTest::newRow("small screen at 1") << QStringList{} << 1.0 << QSize(1024, 576) << 1.0 << false;
}

// The zoom a start settles on for the screen's available area (in pixels at zoom 1).
void TestCommandLine::zoomForTheScreen()
{
    QFETCH(QStringList, arguments);
    QFETCH(double, current);
    QFETCH(QSize, available);
    QFETCH(double, zoom);
    QFETCH(bool, lowered);

    const CommandLine line = CommandLine::parse(QStringList{"quorvane"} + arguments);
    const ScreenZoom::Choice choice = ScreenZoom::choose(line.zoom, line.fullscreen, current,
                                                         QSizeF(available), MainWindow::ClientSize);
    QCOMPARE(choice.zoom, zoom);
    QCOMPARE(choice.lowered, lowered);
}

void TestCommandLine::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("named");
    QTest::addColumn<int>("status"); // -2: the window keeps running

    const QStringList none;
    QTest::newRow("unknown option")
        << QStringList{"--frobnicate", "--csv", "-"} << none << "frobnicate" << 2;
    QTest::newRow("unknown option, no display")
        << QStringList{"--bogus"} << none << "unknown option 'bogus'" << 2;
    QTest::newRow("frequency 2") << QStringList{"--frequency", "2"} << none << "--frequency 2" << 2;
    QTest::newRow("speed 0") << QStringList{"--speed", "0"} << none << "--speed 0" << 2;
    QTest::newRow("speed abc") << QStringList{"--speed", "abc", "--start"} << none << "--speed abc"
                               << 2;
    QTest::newRow("zoom 5") << QStringList{"--zoom", "5", "--fullscreen"} << none << "--zoom 5"
                            << 2;
    QTest::newRow("a Qt option without its value")
        << QStringList{"--render", "x.png", "-platform"} << none << "-platform needs a value" << 2;
    QTest::newRow("a Qt option with a bad value, before the display")
        << QStringList{"-display", "fusion"} << QStringList{"DISPLAY=:7919"}
        << "-display fusion: allowed are X display names" << 2;
    QTest::newRow("a value with a newline")
        << QStringList{"--colour", "red\nblue"} << none << "--colour red\\nblue" << 2;
    // Good arguments, but neither an X server nor a Wayland compositor to show them on.
    QTest::newRow("no display") << QStringList{"--zoom", "2", "--start"} << none
                                << "no display found" << 1;
    QTest::newRow("a display number without a server")
        << QStringList{"--start"} << QStringList{"DISPLAY=:7919"} << "cannot open display :7919"
        << 1;
    QTest::newRow("a Wayland socket nobody listens on")
        << none << QStringList{"WAYLAND_DISPLAY=quorvane-nobody"}
        << "cannot open display quorvane-nobody" << 1;
    // A window on Qt's offscreen platform, whose screen is 800 x 800.
    const QStringList offscreen{"-platform", "offscreen", "--start"};
    QTest::newRow("QT_SCALE_FACTOR 0")
        << offscreen << QStringList{"QT_SCALE_FACTOR=0"} << "QT_SCALE_FACTOR=0 ignored" << -2;
    QTest::newRow("QT_SCALE_FACTOR nan")
        << offscreen << QStringList{"QT_SCALE_FACTOR=nan"} << "QT_SCALE_FACTOR=nan ignored" << -2;
    QTest::newRow("QT_SCREEN_SCALE_FACTORS with inf")
        << offscreen << QStringList{"QT_SCREEN_SCALE_FACTORS=1;inf"}
        << "QT_SCREEN_SCALE_FACTORS=1;inf ignored" << -2;
    QTest::newRow("QT_SCALE_FACTOR 4, lowered")
        << offscreen << QStringList{"QT_SCALE_FACTOR=4"}
        << "zoom 4 does not fit the screen's available area of 800 x 800 pixels; zoom 1 instead"
        << -2;
}

// One line on standard error, before any window and with nothing written: a bad argument
// is found before any display is looked at, and a display that cannot be opened is said so
// rather than aborted on.
void TestCommandLine::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(QString, named);
    QFETCH(int, status);

    const Program program = runProgram(arguments, m_dir.path(), environment,
                                       status == -2 ? named.toUtf8() : QByteArray());
    QVERIFY2(program.status == status,
             qPrintable(QStringLiteral("status %1: %2").arg(program.status).arg(program.err)));
    QCOMPARE(program.err.count('\n'), 1);
    QVERIFY2(program.err.contains(named.toUtf8()), program.err.constData());
    QVERIFY(program.out.isEmpty());
}

void TestCommandLine::headlessRender_data()
{
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("length");
    QTest::addColumn<double>("least");
    QTest::addColumn<double>("greatest");
    QTest::addColumn<double>("rowsPerPeriod");

    QTest::newRow("scale 1") << 1 << "1"
                             << "1" << 0.0 << 200.0 << 80.0;
    QTest::newRow("scale 2, frequency 0,5, length 0,5") << 2 << "0,5"
                                                        << "0.5" << 12.5 << 112.5 << 160.0;
}

// The picture and the CSV of one run, and whether they tell the same story point by point.
void TestCommandLine::headlessRender()
{
    QFETCH(int, scale);
    QFETCH(QString, frequency);
    QFETCH(QString, length);
    QFETCH(double, least);
    QFETCH(double, greatest);
    QFETCH(double, rowsPerPeriod);

    const QString png = m_dir.filePath(QStringLiteral("render%1.png").arg(scale));
    const QString csv = m_dir.filePath(QStringLiteral("render%1.csv").arg(scale));
    const Program program =
        runProgram({"--render", png, "--csv", csv, "--scale", QString::number(scale), "--frequency",
                    frequency, "--length", length},
                   m_dir.path());
    QVERIFY2(program.status == 0, program.err.constData());

    const QImage image(png);
    QCOMPARE(image.size(), QSize(800 * scale, 581 * scale));
    QCOMPARE(image.pixel(100 * scale, 300 * scale), qRgb(192, 255, 255));

    const std::vector<CsvRow> rows = readCsv(csv);
    QCOMPARE(rows.size(), std::size_t(301));
    const QRgb colour = frequency == u"1" ? qRgb(0, 255, 0) : qRgb(255, 0, 0);
    double low = 1e9, high = -1e9;
    for (std::size_t T = 0; T < rows.size(); ++T) {
        const CsvRow &row = rows[T];
        QCOMPARE(row.run, 1);
        QCOMPARE(row.thickness, int(T));
        low = std::min(low, row.probability);
        high = std::max(high, row.probability);
        QVERIFY2(near(image, 420 + row.probability, 190.5 + row.thickness, colour, scale),
                 qPrintable(QStringLiteral("row %1 not at 420 + %2").arg(T).arg(row.probability)));
    }
    QVERIFY(std::abs(low - least) < 0.01);
    QVERIFY(std::abs(high - greatest) < 0.01);
    QVERIFY(std::abs(period(rows) - rowsPerPeriod) <= 1);

    // And the other way: every pixel of the curve's colour in the graph belongs to a row.
    for (int y = 189 * scale; y < 493 * scale; ++y)
        for (int x = 419 * scale; x < 781 * scale; ++x) {
            if (image.pixel(x, y) != colour)
                continue;
            const int T = int(std::lround(double(y) / scale - 190.5));
            bool found = false;
            for (int t = std::max(T - 2, 0); t <= std::min(T + 2, 300); ++t)
                found |= std::abs(double(x) / scale - 420 - rows[std::size_t(t)].probability) < 3;
            QVERIFY2(found, qPrintable(QStringLiteral("stray point at %1, %2").arg(x).arg(y)));
        }
}

void TestCommandLine::writtenFiles_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("left");
    QTest::addColumn<int>("sizeLimit");

    // before and arguments are shell; left lists the folder afterwards (hidden files too):
    // a file by its kind of content, a link by where it leads.
    QTest::newRow("picture in a missing folder")
        << ""
        << "--render missing/a.png" << 1 << "missing/a.png: No such file or directory"
        << ""
        << "" << 0;
    QTest::newRow("CSV onto a folder, picture fine")
        << ""
        << "--render b.png --csv ." << 1 << ".: Is a directory"
        << ""
        << "" << 0;
    QTest::newRow("CSV alone in a missing folder")
        << ""
        << "--csv missing/c.csv" << 1 << "missing/c.csv: No such file or directory"
        << ""
        << "" << 0;
    QTest::newRow("FIFO with a reader gets the CSV and stays a FIFO")
        << "mkfifo f; timeout 60 cat f > got &"
        << "--csv f" << 0 << ""
        << ""
        << "f=fifo got=csv" << 0;
    QTest::newRow("- prints the CSV") << ""
                                      << "--csv -" << 0 << ""
                                      << "csv"
                                      << "" << 0;
    // Through a pipe of the user's own, as the test's pipe is not.
    QTest::newRow("/dev/stdout prints the CSV") << ""
                                                << "--csv /dev/stdout | cat" << 0 << ""
                                                << "csv"
                                                << "" << 0;
    QTest::newRow("/dev/stdout onto a file opened for appending keeps it")
        << "echo old > all.csv"
        << "--csv /dev/stdout >> all.csv" << 0 << ""
        << ""
        << "all.csv=old+csv" << 0;
    QTest::newRow("/proc/self/fd/1 onto a file opened for appending keeps it")
        << "echo old > all.csv"
        << "--csv /proc/self/fd/1 >> all.csv" << 0 << ""
        << ""
        << "all.csv=old+csv" << 0;
    QTest::newRow("/dev/fd/3 the shell opened for appending keeps it")
        << "echo old > all.csv"
        << "--csv /dev/fd/3 3>> all.csv" << 0 << ""
        << ""
        << "all.csv=old+csv" << 0;
    QTest::newRow("/dev/stderr takes the picture in place")
        << "echo old > log"
        << "--render /dev/stderr 2>> log" << 0 << ""
        << ""
        << "log=old+png" << 0;
    QTest::newRow("standard output closed")
        << ""
        << "--csv - >&-" << 1 << "standard output: Bad file descriptor"
        << ""
        << "" << 0;
    QTest::newRow("a descriptor the program was not given")
        << ""
        << "--csv /dev/fd/9" << 1 << "/dev/fd/9: Bad file descriptor"
        << ""
        << "" << 0;
    QTest::newRow("the help to a full device")
        << ""
        << "--help > /dev/full" << 1 << "No space left on device"
        << ""
        << "" << 0;
    const QString longName = QString(246, u'n') + QStringLiteral(".csv");
    QTest::newRow("a name of 250 bytes") << ""
                                         << "--csv " + longName << 0 << ""
                                         << "" << longName + "=csv" << 0;
    QTest::newRow("a name with a newline, one line")
        << ""
        << R"name(--csv "$(printf 'a\nb')/c.csv")name" << 1
        << "cannot write a\\nb/c.csv: No such file or directory"
        << ""
        << "" << 0;
    QTest::newRow("PNG whatever the suffix") << ""
                                             << "--render x.jpg" << 0 << ""
                                             << ""
                                             << "x.jpg=png" << 0;
    QTest::newRow("- prints the picture, the CSV to a file") << ""
                                                             << "--csv a.csv --render -" << 0 << ""
                                                             << "png"
                                                             << "a.csv=csv" << 0;
    QTest::newRow("- twice") << ""
                             << "--csv - --render -" << 2 << "standard output"
                             << ""
                             << "" << 0;
    QTest::newRow("the same name twice") << ""
                                         << "--render a.png --csv a.png" << 2 << "same file"
                                         << ""
                                         << "" << 0;
    QTest::newRow("the same file through a symbolic link")
        << "ln -s a.png l"
        << "--render a.png --csv l" << 2 << "same file"
        << ""
        << "l->a.png" << 0;
    QTest::newRow("a symbolic link writes its file and stays") << "echo old > t; ln -s t l"
                                                               << "--csv l" << 0 << ""
                                                               << ""
                                                               << "l->t t=csv" << 0;
    QTest::newRow("a symbolic link loop")
        << "ln -s a b; ln -s b a"
        << "--csv a" << 1 << "a: Too many levels of symbolic links"
        << ""
        << "a->b b->a" << 0;
    QTest::newRow("a file that may not be written")
        << "echo old > r.csv; chmod 444 r.csv"
        << "--csv r.csv" << 1 << "r.csv: Permission denied"
        << ""
        << "r.csv=old" << 0;
    QTest::newRow("a name that is not UTF-8")
        << ""
        << R"name(--csv "$(printf '\377\376.csv')")name" << 2 << "not valid UTF-8"
        << ""
        << "" << 0;
    QTest::newRow("no room for a new file") << ""
                                            << "--render a.png" << 1 << "a.png: File too large"
                                            << ""
                                            << "" << 4096;
    QTest::newRow("no room, the old file kept as it was")
        << "echo old > a.png"
        << "--render a.png --csv b.csv" << 1 << "a.png: File too large"
        << ""
        << "a.png=old" << 4096;
    QTest::newRow("Qt's own options are Qt's, and a render stays without a window")
        << ""
        << "--csv - -platform xcb -qmljsdebugger=port:5555 --style=fusion -reverse" << 0 << ""
        << "csv"
        << "" << 0;
    // In a folder where anyone may add files but only the owner replaces them, the second
    // file cannot be put in place after the first already is.
    QTest::newRow("second file not put in place, the first put back")
        << "chmod 1777 .; echo old > a.png; chown 65534 a.png; echo old > b.csv"
        << "--render a.png --csv b.csv" << 1 << "b.csv: Operation not permitted"
        << ""
        << "a.png=old b.csv=old" << 0;
    QTest::newRow("second file not put in place, the first taken away")
        << "chmod 1777 .; echo old > b.csv"
        << "--render a.png --csv b.csv" << 1 << "b.csv: Operation not permitted"
        << ""
        << "b.csv=old" << 0;
}

// The program as a script runs it, as an ordinary user (root would pass every permission),
// in a folder of its own.
void TestCommandLine::writtenFiles()
{
    QFETCH(QString, before);
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(QString, out);
    QFETCH(QString, left);
    QFETCH(int, sizeLimit);

    const bool root = ::geteuid() == 0;
    if (before.contains(u"chmod 1777") && !root)
        QSKIP("needs a file of another user, so a test run as root");
    const QString program = root ? m_programForOthers : QStringLiteral(QUORVANE_EXE);
    if (program.isEmpty())
        QSKIP("no copy of the program that another user can reach: the temporary folder "
              "is closed to others");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    QProcess prepare;
    prepare.setWorkingDirectory(dir.path());
    prepare.start(QStringLiteral("/bin/sh"), {"-c", "umask 0; " + before});
    QVERIFY2(prepare.waitForFinished(30000) && prepare.exitCode() == 0,
             prepare.readAllStandardError().constData());

    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.setChildProcessModifier([root, sizeLimit] {
        if (sizeLimit) {
            const rlimit limit{rlim_t(sizeLimit), rlim_t(sizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
    });
    // A runtime folder of the user the program runs as, so that Qt has nothing to say of it.
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    if (root)
        QVERIFY(::chown(QFile::encodeName(runtime.path()).constData(), 65534, 65534) == 0);
    const Program ran = runProgram(&process, QStringLiteral("/bin/sh"),
                                   {"-c", "exec \"$0\" " + arguments, program}, runtime.path());
    QVERIFY2(ran.status == status, ran.err.constData());
    QCOMPARE(ran.err.count('\n'), status ? 1 : 0);
    if (!said.isEmpty()) {
        QVERIFY2(ran.err.contains("quorvane: ") && ran.err.contains(said.toUtf8()),
                 ran.err.constData());
    }
    QCOMPARE(kindOf(ran.out), out);
    QTRY_COMPARE_WITH_TIMEOUT(listing(dir.path()), left, 30000);
}

void TestCommandLine::sharedMemoryChoice_data()
{
    QTest::addColumn<QByteArray>("given");
    QTest::addColumn<QByteArray>("after");
    // A null array stands for the variable not being set.
    QTest::newRow("not set") << QByteArray() << QByteArray("1");
    QTest::newRow("0 asks for shared memory") << QByteArray("0") << QByteArray();
    QTest::newRow("1 stands") << QByteArray("1") << QByteArray("1");
    QTest::newRow("empty stands") << QByteArray("") << QByteArray("");
}

// Qt avoids shared memory whenever QT_XCB_NO_MITSHM is set, whatever its value. The
// application object exists already, so changing the variable here affects nothing else.
void TestCommandLine::sharedMemoryChoice()
{
    QFETCH(QByteArray, given);
    QFETCH(QByteArray, after);
    if (given.isNull())
        qunsetenv("QT_XCB_NO_MITSHM");
    else
        qputenv("QT_XCB_NO_MITSHM", given);
    preferSmallScreenUpdates();
    QCOMPARE(qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"), !after.isNull());
    QCOMPARE(qgetenv("QT_XCB_NO_MITSHM"), after);
}

void TestCommandLine::suggestedNames_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("homeHolds");
    QTest::addColumn<QString>("suggestedIn");
    QTest::newRow("picture in Pictures") << "png"
                                         << "Pictures"
                                         << "Pictures";
    QTest::newRow("CSV in Documents") << "csv"
                                      << "Documents"
                                      << "Documents";
    QTest::newRow("no Pictures: home") << "png"
                                       << "Documents"
                                       << "";
    QTest::newRow("no Documents: home") << "csv"
                                        << "Pictures"
                                        << "";
}

// The Save dialogs' first name, in a home folder of the test's own with no user-dirs.dirs,
// so that the folders have their standard names.
void TestCommandLine::suggestedNames()
{
    QFETCH(QString, suffix);
    QFETCH(QString, homeHolds);
    QFETCH(QString, suggestedIn);
    QTemporaryDir home;
    QVERIFY(home.isValid() && QDir(home.path()).mkdir(homeHolds));
    const QByteArray homeWas = qgetenv("HOME");
    const QByteArray configWas = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", homeWas);
        qputenv("XDG_CONFIG_HOME", configWas);
    });
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    const QFileInfo suggested(PictureFiles::suggestedPath(suffix));
    QCOMPARE(suggested.absolutePath(),
             suggestedIn.isEmpty() ? home.path() : home.filePath(suggestedIn));
    QVERIFY2(QRegularExpression(QStringLiteral("^quorvane-\\d{8}-\\d{6}\\.") + suffix + u'$')
                 .match(suggested.fileName())
                 .hasMatch(),
             qPrintable(suggested.fileName()));
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
