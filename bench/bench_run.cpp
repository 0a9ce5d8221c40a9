// Times a run: its drawing alone, drawing plus putting every step on the screen, and the
// processor time a paced run takes. Runs on whatever platform QT_QPA_PLATFORM names
// (offscreen by default; xcb under an X server).

#include "app/fonts.h"
#include "app/mainwindow.h"
#include "canvas/canvaswidget.h"
#include "canvas/imagecanvas.h"
#include "canvas/yesnoquestion.h"
#include "run/curvelog.h"
#include "run/reflectionrun.h"
#include "run/runendview.h"
#include "run/steppacer.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

class Settings : public SettingsStore
{
public:
    QString text(StateField field) const override { return m_texts.at(std::size_t(field)); }
    void setText(StateField field, const QString &text) override
    {
        m_texts.at(std::size_t(field)) = text;
    }

private:
    std::array<QString, 6> m_texts{QStringLiteral("Ano"),    QStringLiteral("1"),
                                   QStringLiteral("1"),      QStringLiteral("0"),
                                   QStringLiteral("zelená"), QStringLiteral("0")};
};

class Host : public YesNoQuestion, public StepPacer, public RunEndView, public CurveLog
{
public:
    Answer ask(const QString &) override { return Answer::No; }
    void stepDone(double) override {}
    void showThicknessPicture() override {}
    void showLabel(Label, double, double) override {}
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double imageRunMs(bool shortcut, qreal ratio)
{
    std::vector<double> times;
    for (int i = 0; i < 7; ++i) {
        Settings settings;
        Host host;
        ImageCanvas canvas(QSize(800, 581), ratio);
        canvas.setHorizontalShortcut(shortcut);
        QElapsedTimer timer;
        timer.start();
        ReflectionRun(settings, canvas, host, host, host, host).run();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A whole run through a fresh window, whose first run asks nothing: drawing, one flush
// to the screen per step, and the wait.
struct WindowRun {
    double wallMs;
    double cpuMs;
};

WindowRun windowRun(const QString &slowDown)
{
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the window was never shown");
    window.findChild<QLineEdit *>(QStringLiteral("nSpomaleni"))->setText(slowDown);
    auto *start = window.findChild<QPushButton *>(QStringLiteral("cmdStart"));
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    start->click();
    return {timer.nsecsElapsed() / 1e6, (cpuSeconds() - cpuBefore) * 1e3};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    Fonts::installSubstitutions();
    const int steps = 301;

    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("platform %s, device pixel ratio %.1f\n",
                qPrintable(QGuiApplication::platformName()), app.devicePixelRatio());
    for (qreal ratio : {1.0, 2.0}) {
        const double fast = imageRunMs(true, ratio);
        const double plain = imageRunMs(false, ratio);
        std::printf("drawing a run on the image, %.0fx: %.1f ms (%.3f ms a step); "
                    "every line through QPainter: %.1f ms\n",
                    ratio, fast, fast / steps, plain);
    }

    std::vector<double> unpaced;
    for (int i = 0; i < 5; ++i)
        unpaced.push_back(windowRun(QStringLiteral("0")).wallMs);
    const double drawing = imageRunMs(true, app.devicePixelRatio());
    const double shown = median(unpaced);
    std::printf("a run through the window at slow-down 0: %.1f ms (goal < 150 ms); "
                "putting one step on the screen: %.3f ms\n",
                shown, std::max(0.0, shown - drawing) / steps);

    const WindowRun paced = windowRun(QStringLiteral("1"));
    std::printf("a paced run at slow-down 1: %.0f ms wall, %.0f ms processor time, "
                "%.1f%% (goal < 10%%)\n",
                paced.wallMs, paced.cpuMs, 100 * paced.cpuMs / paced.wallMs);
    return 0;
}
