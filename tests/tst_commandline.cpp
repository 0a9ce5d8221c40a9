// The command line: what it accepts, how the presets reach the window, and the program
// itself run from a plain environment, without an X server, to render a picture and a CSV.

#include "app/commandlineactions.h"
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "export/commandline.h"
#include "screen/screenupdates.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

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
    return parts.join(u' ');
}

struct Program {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The program as a script starts it: no DISPLAY, no platform chosen.
Program runProgram(const QStringList &arguments, const QString &runtimeDir)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUORVANE_EXE), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
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
    void badArguments_data();
    void badArguments();
    void headlessRender_data();
    void headlessRender();
    void unwritableOutput_data();
    void unwritableOutput();
    void sharedMemoryChoice_data();
    void sharedMemoryChoice();

private:
    QTemporaryDir m_dir;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
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
    QTest::newRow("csv alone") << QStringList{"--csv", "a.csv"} << "render csv=a.csv";
    QTest::newRow("help wins") << QStringList{"--speed", "5", "--help"} << "help";
    QTest::newRow("-h") << QStringList{"-h"} << "help";
    QTest::newRow("version") << QStringList{"--version"} << "version";
    QTest::newRow("Qt's own options are Qt's")
        << QStringList{"-platform", "offscreen", "--style=fusion", "-reverse", "--start"}
        << "window start=yes";
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

void TestCommandLine::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");

    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "frobnicate";
    QTest::newRow("frequency 2") << QStringList{"--frequency", "2"} << "--frequency 2";
    QTest::newRow("speed 0") << QStringList{"--speed", "0"} << "--speed 0";
    QTest::newRow("speed abc") << QStringList{"--speed", "abc", "--start"} << "--speed abc";
}

// Status 2 and one line on standard error, before any window: no platform is even loaded,
// so a missing X server makes no difference.
void TestCommandLine::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);

    const Program program = runProgram(arguments, m_dir.path());
    QCOMPARE(program.status, 2);
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

void TestCommandLine::unwritableOutput_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QString>("unwritable");

    QTest::newRow("picture in a missing folder") << "missing/a.png"
                                                 << ""
                                                 << "missing/a.png";
    QTest::newRow("CSV onto a folder, picture fine") << "b.png"
                                                     << "."
                                                     << ".";
    QTest::newRow("CSV alone in a missing folder") << ""
                                                   << "missing/c.csv"
                                                   << "missing/c.csv";
}

// Status 1, a message naming the path, and no file at all, not even the one that could
// have been written.
void TestCommandLine::unwritableOutput()
{
    QFETCH(QString, picture);
    QFETCH(QString, csv);
    QFETCH(QString, unwritable);

    QTemporaryDir dir;
    QStringList arguments;
    if (!picture.isEmpty())
        arguments << "--render" << dir.filePath(picture);
    if (!csv.isEmpty())
        arguments << "--csv" << dir.filePath(csv);
    const Program program = runProgram(arguments, m_dir.path());
    QCOMPARE(program.status, 1);
    QVERIFY2(program.err.contains(QDir::cleanPath(dir.filePath(unwritable)).toUtf8()) ||
                 program.err.contains(dir.filePath(unwritable).toUtf8()),
             program.err.constData());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
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

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
