// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

// The curve as sound, heard as a listener would: a sound server of the test's own with a
// null sink, the run's tone recorded back from the sink's monitor, its pitch measured.

#include "app/mainwindow.h"
#include "run/curvelog.h"
#include "run/steppacer.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Rate = 44100;
constexpr auto StepTime = std::chrono::milliseconds(20);

// Paces a run at a fixed time per step and notes when each step was shown.
class TimedPacer : public StepPacer
{
public:
    explicit TimedPacer(std::vector<Clock::time_point> &shown)
        : m_shown(shown)
    {}

    void stepDone(double) override
    {
        const auto now = Clock::now();
        m_shown.push_back(now);
        const auto due = (m_shown.size() == 1 ? now : m_due) + StepTime;
        m_due = due;
        QTest::qSleep(int(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::max(due - Clock::now(), Clock::duration::zero()))
                              .count()));
    }

private:
    std::vector<Clock::time_point> &m_shown;
    Clock::time_point m_due;
};

// The strength of one frequency in a stretch of samples, under a Hann window.
double strength(const std::vector<double> &samples, double hertz)
{
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * hertz / Rate);
    double previous = 0;
    double beforePrevious = 0;
    for (const double sample : samples) {
        const double next = sample + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = next;
    }
    return previous * previous + beforePrevious * beforePrevious -
           coefficient * previous * beforePrevious;
}

// The frequency that dominates the stretch, between 150 and 1000 Hz: a coarse search, then
// a fine one around the best.
double dominantFrequency(std::vector<double> samples)
{
    const auto n = samples.size();
    for (std::size_t i = 0; i < n; ++i)
        samples[i] *= 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n - 1));
    double best = 0;
    double bestStrength = -1;
    const auto search = [&](double from, double to, double step) {
        for (double f = from; f <= to; f += step)
            if (const double s = strength(samples, f); s > bestStrength) {
                bestStrength = s;
                best = f;
            }
    };
    search(150, 1000, 4);
    search(best - 4, best + 4, 0.25);
    return best;
}

} // namespace

class TestSound : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void runsToneFollowsTheCurve();

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};

// A PulseAudio server of the test's own, with one null sink and no other output.
void TestSound::initTestCase()
{
    const QString server = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    const QString recorder = QStandardPaths::findExecutable(QStringLiteral("parec"));
    if (server.isEmpty() || recorder.isEmpty())
        QSKIP("no sound server can be started here: pulseaudio or parec is missing "
              "(Debian: pulseaudio, pulseaudio-utils)");
    QVERIFY(m_dir.isValid());
    const QString socket = m_dir.filePath(QStringLiteral("native"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_dir.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    environment.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.path());
    m_server.setProcessEnvironment(environment);
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.setStandardOutputFile(QProcess::nullDevice());
    m_server.start(server,
                   {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
                    "--use-pid-file=no", "--log-level=error",
                    "--load=module-null-sink sink_name=quorvane rate=44100 channels=1",
                    "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    if (!m_server.waitForStarted(10000))
        QSKIP("no sound server can be started here: pulseaudio did not start");
    for (int tries = 0; tries < 100 && !QFile::exists(socket); ++tries) {
        if (m_server.state() != QProcess::Running)
            QSKIP("no sound server can be started here: pulseaudio ended at once");
        QTest::qWait(100);
    }
    if (!QFile::exists(socket))
        QSKIP("no sound server can be started here: pulseaudio made no socket in 10 s");
    qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
}

void TestSound::cleanupTestCase()
{
    if (m_server.state() == QProcess::Running) {
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            m_server.kill();
        m_server.waitForFinished(5000);
    }
}

// The run's tone, recorded back: in every window of 40 ms where it sounds its dominant
// frequency is within 3% of the pitch of a probability the run plotted then, 220 Hz at 0
// rising to 880 Hz at the curve's greatest probability on a logarithmic scale.
void TestSound::runsToneFollowsTheCurve()
{
    QProcess recorder;
    recorder.start(QStringLiteral("parec"),
                   {"-d", "quorvane.monitor", "--format=s16le", "--rate=44100", "--channels=1",
                    "--raw", "--latency-msec=20"});
    QVERIFY2(recorder.waitForStarted(10000), "parec did not start");
    // Recording, once the sink's silence comes: the first sound heard is then the run's.
    QByteArray raw;
    for (int tries = 0; tries < 100 && raw.size() < Rate / 5; ++tries) {
        recorder.waitForReadyRead(100);
        raw += recorder.readAllStandardOutput();
    }
    QVERIFY2(raw.size() >= Rate / 5, "parec recorded nothing in 10 s");

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.setSoundOn(true);
    // Half the frequency: the pitch changes by less than 3% from one row to the next.
    window.clickOption(Option::op05);
    std::vector<Clock::time_point> shown;
    window.setPacer(std::make_unique<TimedPacer>(shown));
    window.pressStart();
    QTest::qWait(1000);
    recorder.terminate();
    QVERIFY2(recorder.waitForFinished(10000), "parec did not end");
    raw += recorder.readAllStandardOutput();
    QCOMPARE(int(shown.size()), 301);

    std::vector<double> samples(std::size_t(raw.size() / 2));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = double(qFromLittleEndian<qint16>(raw.constData() + 2 * i)) / 32768;
    // The first sound is step 0's pitch; the sound's delay behind the steps stays the same.
    const auto onset =
        std::find_if(samples.begin(), samples.end(), [](double s) { return std::abs(s) > 0.02; });
    QVERIFY2(onset != samples.end(), "nothing was heard");

    std::vector<double> pitches;
    for (const CurveRow &row : window.curves().rows())
        pitches.push_back(220 * std::pow(4.0, row.Point.PlotX / 200));
    QCOMPARE(int(pitches.size()), 301);
    const auto stepAt = [&](double seconds) {
        const auto t = shown.front() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(seconds));
        return int(std::upper_bound(shown.begin(), shown.end(), t) - shown.begin()) - 1;
    };

    const std::size_t window40ms = Rate / 25;
    const std::size_t start = std::size_t(onset - samples.begin());
    const double runSeconds = std::chrono::duration<double>(shown.back() - shown.front()).count();
    int windows = 0;
    int followed = 0;
    QString worst;
    double worstError = 0;
    for (std::size_t at = start + Rate / 100; at + window40ms < samples.size();
         at += window40ms / 2) {
        const double from = double(at - start) / Rate;
        const double to = from + double(window40ms) / Rate;
        if (to > runSeconds)
            break;
        const std::vector<double> stretch(samples.begin() + qsizetype(at),
                                          samples.begin() + qsizetype(at + window40ms));
        double energy = 0;
        for (const double s : stretch)
            energy += s * s;
        if (std::sqrt(energy / double(stretch.size())) < 0.05)
            continue;
        ++windows;
        const double heard = dominantFrequency(stretch);
        // Any step shown while the window sounded, one step's glide either side.
        double error = 1e9;
        const int first = std::max(stepAt(from) - 1, 0);
        const int last = std::min(stepAt(to) + 1, 300);
        for (int step = first; step <= last; ++step)
            error = std::min(error, std::abs(heard / pitches[std::size_t(step)] - 1));
        if (error <= 0.03)
            ++followed;
        if (error > worstError) {
            worstError = error;
            worst = QStringLiteral("%1 Hz at %2 s, steps %3 to %4 (%5 to %6 Hz)")
                        .arg(heard, 0, 'f', 1)
                        .arg(from, 0, 'f', 3)
                        .arg(first)
                        .arg(last)
                        .arg(pitches[std::size_t(first)], 0, 'f', 1)
                        .arg(pitches[std::size_t(last)], 0, 'f', 1);
        }
    }
    // The run lasted about six seconds: some 290 windows of it sounded.
    QVERIFY2(windows > 200, qPrintable(QStringLiteral("only %1 windows sounded").arg(windows)));
    // A window the sound server dropped or delayed on a loaded machine may miss.
    QVERIFY2(followed >= windows * 95 / 100,
             qPrintable(QStringLiteral("%1 of %2 windows followed the curve; the worst: %3")
                            .arg(followed)
                            .arg(windows)
                            .arg(worst)));
    qInfo("%d of %d windows within 3%%; the worst: %s", followed, windows, qPrintable(worst));
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
