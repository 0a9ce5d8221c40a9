// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

// Speed and memory figures of a run, printed side by side. Runs on whatever platform
// QT_QPA_PLATFORM names (offscreen by default; xcb under an X server). The figures that
// depend on the screen's scale come from copies of this program started at scale 1, 2 and
// 3.5 (the zoom that fills a 3840 x 2160 screen), which also give the time from process
// start to the first painted window.

#include "about.h"
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "canvas/imagecanvas.h"
#include "run/curvelog.h"
#include "run/pacing.h"
#include "run/reflectionrun.h"
#include "run/runendview.h"
#include "run/steppacer.h"
#include "run/yesnoquestion.h"
#include "screen/canvaswidget.h"
#include "screen/screenupdates.h"
#include "screen/windowpacer.h"
#include "settings/memorysettingsstore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int Steps = 301;
constexpr double DesignedPacedMs = 3010;
constexpr std::array<double, 3> Scales = {1, 2, 3.5};

// Start-up settings at slow-down 0, so that a run never waits.
class Settings : public MemorySettingsStore
{
public:
    Settings() { setText(StateField::nSpomaleni, QStringLiteral("0")); }
};

// Takes each step's changes as the window does, so a step's strokes share one painter and
// the cost of finding what changed is counted.
template <class TakesChanges>
class Host : public YesNoQuestion, public StepPacer, public RunEndView, public CurveLog
{
public:
    explicit Host(TakesChanges &canvas)
        : m_canvas(canvas)
    {}
    Answer ask(const QString &) override { return Answer::No; }
    void stepDone(double) override { m_canvas.takeChanged(); }
    void showThicknessPicture() override {}
    void showLabel(Label, double, double) override {}

private:
    TakesChanges &m_canvas;
};

// What the canvas would be without its own ways: every stroke through QPainter, one
// painter a step, and each stroke's whole rectangle counted as changed.
class PainterCanvas : public Canvas
{
public:
    PainterCanvas(QSize size, qreal ratio)
        : m_image(size * ratio, QImage::Format_RGB32)
    {
        m_image.setDevicePixelRatio(ratio);
        m_image.fill(StrokeColour::BackgroundGrey);
    }

    void setPenWidth(int width) override { m_width = width; }
    const QImage &image() const { return m_image; }
    QRegion takeChanged()
    {
        m_painter.reset();
        return std::exchange(m_changed, QRegion());
    }

protected:
    void drawLine(float x1, float y1, float x2, float y2, StrokeColour colour) override
    {
        painter(colour).drawLine(QPointF(x1, y1), QPointF(x2, y2));
        changed(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized(), m_width + 1);
    }
    void drawCircle(float x, float y, float radius, StrokeColour colour) override
    {
        painter(colour).drawEllipse(QPointF(x, y), radius, radius);
        changed(QRectF(x - radius, y - radius, 2 * radius, 2 * radius), m_width + 1);
    }

private:
    QPainter &painter(StrokeColour colour)
    {
        if (!m_painter)
            m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setPen(QPen(QColor(colour.resolved()), m_width, Qt::SolidLine, Qt::FlatCap));
        return *m_painter;
    }
    void changed(const QRectF &bounds, int margin)
    {
        m_changed += bounds.toAlignedRect().adjusted(-margin, -margin, margin, margin);
    }

    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    int m_width = 1;
    QRegion m_changed;
};

// A window whose canvas is the plain one above, putting each step's stroke rectangles on the
// screen: a run as a straightforward build would send it to the display.
class PlainWindow : public QWidget,
                    public YesNoQuestion,
                    public StepPacer,
                    public RunEndView,
                    public CurveLog
{
public:
    explicit PlainWindow(qreal ratio)
        : m_canvas(QSize(800, 581), ratio)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(800, 581);
    }
    PainterCanvas &canvas() { return m_canvas; }
    Answer ask(const QString &) override { return Answer::No; }
    void stepDone(double) override { repaint(m_canvas.takeChanged()); }
    void showThicknessPicture() override {}
    void showLabel(Label, double, double) override {}

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        const QImage &image = m_canvas.image();
        const qreal ratio = image.devicePixelRatio();
        for (const QRect &rect : event->region())
            painter.drawImage(QRectF(rect), image,
                              QRectF(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio,
                                     rect.height() * ratio));
    }

private:
    PainterCanvas m_canvas;
};

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A whole run drawn into a canvas of the given kind, the median of seven.
template <typename DrawingCanvas> double runMs(qreal ratio)
{
    std::vector<double> times;
    for (int i = 0; i < 7; ++i) {
        Settings settings;
        DrawingCanvas canvas(QSize(800, 581), ratio);
        Host host(canvas);
        QElapsedTimer timer;
        timer.start();
        ReflectionRun(settings, canvas, host, host, host, host).run();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The number after a key in one of the kernel's files about this process, or 0.
double procFigure(const QString &path, const QByteArray &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toDouble();
    return 0;
}

// The peak of this process image alone: getrusage's maximum survives exec, so a copy
// started from the bench would report the bench's own peak whenever that was higher.
double peakResidentMiB()
{
    return procFigure(QStringLiteral("/proc/self/status"), "VmHWM:") / 1024.0;
}

// Bytes the process has handed to write calls; during a run nearly all of them go down the
// connection to the display server, so under X this is what a run costs the wire.
double writtenMB()
{
    return procFigure(QStringLiteral("/proc/self/io"), "wchar:") / 1e6;
}

struct WindowRun {
    double wallMs;
    double cpuMs;
    double writtenMB;
};

// Wall time, processor time and bytes written while the work runs.
template <typename Work> WindowRun measured(Work work)
{
    const double cpuBefore = cpuMs();
    const double writtenBefore = writtenMB();
    QElapsedTimer timer;
    timer.start();
    work();
    const double wallMs = timer.nsecsElapsed() / 1e6;
    return {wallMs, cpuMs() - cpuBefore, writtenMB() - writtenBefore};
}

// Processor time differs by up to a third from one paced run to the next even on a quiet
// machine, so every figure of a window's run is the median of a few; the bytes are the same
// in every run.
template <typename Run> WindowRun medianRun(int times, Run run)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    WindowRun last{};
    for (int i = 0; i < times; ++i) {
        last = run();
        wall.push_back(last.wallMs);
        cpu.push_back(last.cpuMs);
    }
    return {median(wall), median(cpu), last.writtenMB};
}

void showExposed(QWidget &window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the window was never shown");
}

// A whole run through a fresh window, whose first run asks nothing: drawing, one flush
// to the screen per step, and the wait.
WindowRun windowRun(const QString &slowDown)
{
    MainWindow window;
    showExposed(window);
    window.findChild<QLineEdit *>(QStringLiteral("nSpomaleni"))->setText(slowDown);
    auto *start = window.findChild<QPushButton *>(QStringLiteral("cmdStart"));
    return measured([start] { start->click(); });
}

// Notes when each step is on the screen, then waits as the window does.
class TimingPacer : public StepPacer
{
public:
    explicit TimingPacer(CanvasWidget &canvas)
        : m_canvas(canvas)
        , m_pacer(canvas)
    {}
    void stepDone(double delayCount) override
    {
        m_canvas.flush();
        shown.push_back(nowNs());
        m_pacer.stepDone(delayCount);
    }
    std::vector<qint64> shown;

private:
    CanvasWidget &m_canvas;
    WindowPacer m_pacer;
};

// The longest time from Start to the first step on the screen, from one step to the next,
// or from the last to the completion on the screen, in a paced run at slow-down 1.
double longestStepMs()
{
    MainWindow window;
    auto owned = std::make_unique<TimingPacer>(*window.canvas());
    TimingPacer &pacer = *owned;
    window.setPacer(std::move(owned));
    showExposed(window);
    auto *start = window.findChild<QPushButton *>(QStringLiteral("cmdStart"));
    std::vector<qint64> times{nowNs()};
    start->click();
    times.insert(times.end(), pacer.shown.begin(), pacer.shown.end());
    times.push_back(nowNs());
    qint64 longest = 0;
    for (std::size_t i = 1; i < times.size(); ++i)
        longest = std::max(longest, times[i] - times[i - 1]);
    return longest / 1e6;
}

// The same through the plain window, at slow-down 0.
WindowRun plainWindowRun()
{
    PlainWindow window(qApp->devicePixelRatio());
    showExposed(window);
    Settings settings;
    return measured(
        [&] { ReflectionRun(settings, window.canvas(), window, window, window, window).run(); });
}

// What pacing alone costs: 301 steps at slow-down 1 through the window's canvas and pacer,
// each moving one long line by a pixel as the run moves its back path (erased, drawn again),
// or drawing nothing at all, which leaves only the wakeups.
WindowRun pacedSteps(bool moveALine)
{
    MainWindow window;
    showExposed(window);
    CanvasWidget &canvas = *window.canvas();
    WindowPacer pacer(canvas);
    const double count = delayCount(QStringLiteral("1"));
    return measured([&] {
        for (int step = 0; step < Steps; ++step) {
            if (moveALine) {
                canvas.line(30, 90.5, 215, 190.5 + step, StrokeColour::inactiveBorder());
                canvas.line(30, 90.5, 215, 191.5 + step);
            }
            pacer.stepDone(count);
        }
    });
}

class NoWait : public StepPacer
{
public:
    void stepDone(double) override {}
};

// Two runs in the window, the second kept with No, then its whole picture drawn again at
// another scale, as for a screen of another ratio; or, with `zoomKey`, the window zoomed a
// step as Ctrl+Plus does (Ctrl+Minus at a scale of 2 and more, which the screen may not hold
// a step further) and painted, controls and all; the median of five.
double redrawMs(qreal otherRatio, bool zoomKey = false)
{
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        MainWindow window;
        window.setPacer(std::make_unique<NoWait>());
        showExposed(window);
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->button(QMessageBox::No)->click();
        });
        answer.start(10);
        window.pressStart();
        window.pressStart();
        const qreal before = window.devicePixelRatioF();
        QElapsedTimer timer;
        timer.start();
        if (zoomKey) {
            window.stepZoom(before < 2 ? 1 : -1);
            if (window.devicePixelRatioF() == before)
                qFatal("the screen holds no other zoom");
            window.repaint();
        } else {
            window.canvas()->setDevicePixelRatio(otherRatio);
            window.canvas()->repaint();
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
        window.setZoom(before);
    }
    return median(times);
}

// In a copy started at one scale: the runs through the window, as numbers on one line.
int windowFigures(QApplication &)
{
    Fonts::installSubstitutions();
    const WindowRun changed = medianRun(5, [] { return windowRun(QStringLiteral("0")); });
    const WindowRun whole = medianRun(5, plainWindowRun);
    const WindowRun paced = medianRun(3, [] { return windowRun(QStringLiteral("1")); });
    const double oneLine = medianRun(3, [] { return pacedSteps(true); }).cpuMs;
    const double nothing = medianRun(3, [] { return pacedSteps(false); }).cpuMs;
    const double redraw = redrawMs(qApp->devicePixelRatio() == 1 ? 2 : 1);
    const double zoomed = redrawMs(0, true);
    std::vector<double> longest;
    for (int i = 0; i < 3; ++i)
        longest.push_back(longestStepMs());
    std::printf("%f %f %f %f %f %f %f %f %f %f %f\n", changed.wallMs, whole.wallMs, paced.wallMs,
                paced.cpuMs, changed.writtenMB, whole.writtenMB, oneLine, nothing, redraw, zoomed,
                median(longest));
    return 0;
}

// In a copy started as the program starts: when the window was first painted, then the
// peak resident memory after one run.
int startFigures(QApplication &)
{
    QApplication::setApplicationName(QString::fromUtf8(About::Name));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    Fonts::installSubstitutions();
    MainWindow window;

    class FirstPaint : public QObject
    {
    public:
        bool eventFilter(QObject *, QEvent *event) override
        {
            // Painting ends with the window put on the screen, before the next event.
            if (event->type() == QEvent::Paint && paintedAt == 0)
                QTimer::singleShot(0, [this] { paintedAt = nowNs(); });
            return false;
        }
        qint64 paintedAt = 0;
    } firstPaint;
    QApplication::instance()->installEventFilter(&firstPaint);
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (firstPaint.paintedAt == 0 && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (firstPaint.paintedAt == 0)
        qFatal("the window was never painted");
    window.findChild<QLineEdit *>(QStringLiteral("nSpomaleni"))->setText(QStringLiteral("0"));
    window.findChild<QPushButton *>(QStringLiteral("cmdStart"))->click();
    std::printf("%lld %f\n", firstPaint.paintedAt, peakResidentMiB());
    return 0;
}

std::vector<double> numbersFrom(const QString &mode, const QByteArray &scale, qint64 *startedAt)
{
    QProcess copy;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scale));
    copy.setProcessEnvironment(environment);
    copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (startedAt)
        *startedAt = nowNs();
    copy.start(QCoreApplication::applicationFilePath(), {mode});
    if (!copy.waitForFinished(120000) || copy.exitCode() != 0)
        qFatal("the copy for %s at scale %s failed", qPrintable(mode), scale.constData());
    std::vector<double> numbers;
    for (const QByteArray &word : copy.readAllStandardOutput().simplified().split(' '))
        numbers.push_back(word.toDouble());
    return numbers;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program does.
    preferSmallScreenUpdates();
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--start") {
        QApplication app(argc, argv);
        return startFigures(app);
    }
    if (mode == "--window") {
        QApplication app(argc, argv);
        return windowFigures(app);
    }

    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("platform %s\n\n", qPrintable(QGuiApplication::platformName()));

    constexpr std::size_t N = Scales.size();
    const auto scaleText = [](std::size_t i) { return QByteArray::number(Scales[i]); };
    std::printf("%-58s", "");
    for (std::size_t i = 0; i < N; ++i)
        std::printf(" %12s", ("scale " + scaleText(i)).constData());
    std::printf("\n");
    // One row: the figure at each scale, printed as the format says.
    const auto line = [&](const char *what, const char *format, const auto &figure) {
        std::printf("%-58s", what);
        for (std::size_t i = 0; i < N; ++i)
            std::printf(format, figure(i));
        std::printf("\n");
    };
    std::array<double, N> fast{};
    std::array<double, N> plain{};
    for (std::size_t i = 0; i < N; ++i) {
        fast[i] = runMs<ImageCanvas>(Scales[i]);
        plain[i] = runMs<PainterCanvas>(Scales[i]);
    }
    line("drawing a run into the image, changes found", " %9.1f ms",
         [&](std::size_t i) { return fast[i]; });
    line("the same, every stroke through QPainter, one a step", " %9.1f ms",
         [&](std::size_t i) { return plain[i]; });
    line("  QPainter over the canvas", " %9.0f %%",
         [&](std::size_t i) { return 100 * plain[i] / fast[i]; });

    std::array<std::vector<double>, N> window;
    for (std::size_t i = 0; i < N; ++i)
        window[i] = numbersFrom(QStringLiteral("--window"), scaleText(i), nullptr);
    const auto at = [&](std::size_t i, int index) { return window[i].at(std::size_t(index)); };
    const auto row = [&](const char *what, int index, const char *format) {
        line(what, format, [&](std::size_t i) { return at(i, index); });
    };
    row("a run through the window at slow-down 0, changed pixels", 0, " %9.1f ms");
    row("  the same, QPainter and whole stroke rectangles", 1, " %9.1f ms");
    line("  whole rectangles over changed pixels", " %9.2f x",
         [&](std::size_t i) { return at(i, 1) / at(i, 0); });
    row("  written to the display connection, changed pixels", 4, " %9.1f MB");
    row("  written to the display connection, QPainter and rectangles", 5, " %9.1f MB");
    line("  putting one step on the screen", " %9.3f ms",
         [&](std::size_t i) { return std::max(0.0, at(i, 0) - fast[i]) / Steps; });
    row("a paced run at slow-down 1, median of three, wall time", 2, " %9.1f ms");
    line("  against 301 x 10 ms = 3010 ms", " %+9.2f %%",
         [&](std::size_t i) { return 100 * (at(i, 2) / DesignedPacedMs - 1); });
    row("  processor time of the process", 3, " %9.1f ms");
    const auto share = [&](const char *what, int index) {
        line(what, " %9.1f %%", [&](std::size_t i) { return 100 * at(i, index) / at(i, 2); });
    };
    share("  processor time over wall time", 3);
    row("  longest step: Start, a step or the end to the next shown", 10, " %9.1f ms");
    row("301 paced steps moving one line, processor time", 6, " %9.1f ms");
    share("  over the paced run's wall time", 6);
    row("301 paced steps drawing nothing, processor time", 7, " %9.1f ms");
    share("  over the paced run's wall time", 7);
    row("two runs kept with No drawn again at another scale", 8, " %9.1f ms");
    row("  the same after Ctrl+Plus (Ctrl+Minus from 2 up), painted", 9, " %9.1f ms");

    std::array<std::vector<double>, N> firstPaint;
    std::array<std::vector<double>, N> peak;
    for (int repeat = 0; repeat < 5; ++repeat) {
        for (std::size_t i = 0; i < N; ++i) {
            qint64 startedAt = 0;
            const auto numbers = numbersFrom(QStringLiteral("--start"), scaleText(i), &startedAt);
            firstPaint[i].push_back((numbers.at(0) - double(startedAt)) / 1e6);
            peak[i].push_back(numbers.at(1));
        }
    }
    line("process start to the first painted window", " %9.1f ms",
         [&](std::size_t i) { return median(firstPaint[i]); });
    line("peak resident memory, start and one run", " %9.1f MB",
         [&](std::size_t i) { return median(peak[i]); });
    return 0;
}
