// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "session.h"

#include "about.h"
#include "picture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <csignal>

const QString Session::MainTitle =
    QString::fromUtf8(About::Name) + QStringLiteral(" - ") + QString::fromUtf8(About::HomePage);
const QString Session::QuestionTitle = QString::fromUtf8(About::Name);

namespace {

constexpr int PollMs = 40;

// A quiet spot of the canvas, right of the graph and below everything a run draws.
constexpr QPoint RestingPlace{790, 570};
// Where the graph goes, empty until the first run.
constexpr QRect EmptyGraph{430, 320, 360, 240};

} // namespace

Session::Session(QString shotPrefix, double scale)
    : m_shotPrefix(std::move(shotPrefix))
    , m_scale(scale)
{
    m_process.setProgram(QStringLiteral(QUORVANE_EXE));
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    // Standard output is not used by the program; its warnings come on standard error.
    m_process.setStandardOutputFile(QProcess::nullDevice());
}

Session::~Session()
{
    if (m_held)
        m_display.freePixmap(m_held);
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

void Session::setEnvironment(const QString &name, const QString &value)
{
    QProcessEnvironment environment = m_process.processEnvironment();
    if (environment.isEmpty())
        environment = QProcessEnvironment::systemEnvironment();
    environment.insert(name, value);
    m_process.setProcessEnvironment(environment);
}

bool Session::start()
{
    if (!m_display.isOpen()) {
        fail(QStringLiteral("cannot open the X display %1").arg(qEnvironmentVariable("DISPLAY")));
        return false;
    }
    m_process.start();
    if (!m_process.waitForStarted(30000)) {
        fail(QStringLiteral("cannot start %1: %2")
                 .arg(m_process.program(), m_process.errorString()));
        return false;
    }
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        if (const auto found = m_display.findMapped(MainTitle)) {
            m_window = found->id;
            break;
        }
        if (m_process.waitForFinished(PollMs)) {
            fail(QStringLiteral("the program ended before showing its window: %1")
                     .arg(programOutput()));
            return false;
        }
    }
    if (!m_window) {
        fail(QStringLiteral("no window titled \"%1\" appeared").arg(MainTitle));
        return false;
    }
    // A window not yet painted shows black, dark enough to pass for text. Painted once the
    // canvas's grey surrounds the prompt and fills the empty graph, the prompt shows dark
    // text on grey, and Start a dark caption on its light face.
    const QImage shown = waitFor(
        [this](const QImage &image) {
            const QRect around = Pict::PromptRect.adjusted(-8, -8, 8, 8);
            return Pict::countOther(image, m_scale, around, Pict::Grey) ==
                       Pict::countOther(image, m_scale, Pict::PromptRect, Pict::Grey) &&
                   Pict::countOther(image, m_scale, EmptyGraph, Pict::Grey) == 0 &&
                   Pict::hasDarkPixels(image, m_scale, Pict::PromptRect) &&
                   Pict::countColour(image, m_scale, Pict::PromptRect, Pict::Grey) > 0 &&
                   Pict::hasDarkPixels(image, m_scale, Pict::StartRect) &&
                   Pict::countOther(image, m_scale, Pict::StartRect, Pict::Black) >
                       Pict::StartRect.width() * Pict::StartRect.height() * m_scale * m_scale / 2;
        },
        QStringLiteral("window-painted"));
    return !shown.isNull();
}

QImage Session::grab() const
{
    return m_display.grab(QRect(m_origin, Pict::ClientSize * m_scale));
}

QImage Session::save(const QImage &image, const QString &step) const
{
    const QString dir = QStringLiteral(E2E_SHOT_DIR);
    QDir().mkpath(dir);
    image.save(QStringLiteral("%1/%2-%3.png").arg(dir, m_shotPrefix, step));
    return image;
}

bool Session::xdotool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    // xdotool can hang in rare cases (a synchronous move to where the pointer already is);
    // none of the calls here waits for anything, so a long silence means such a hang.
    if (!tool.waitForFinished(30000)) {
        tool.kill();
        tool.waitForFinished(5000);
        fail(QStringLiteral("xdotool %1 hung").arg(arguments.join(u' ')));
        return false;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        fail(QStringLiteral("xdotool %1 failed: %2")
                 .arg(arguments.join(u' '), QString::fromLocal8Bit(tool.readAllStandardError())));
        return false;
    }
    return true;
}

void Session::click(QPoint logical)
{
    clickDevice(m_origin + logical * m_scale);
}

void Session::movePointer(QPoint logical)
{
    const QPoint device = m_origin + logical * m_scale;
    xdotool(
        {QStringLiteral("mousemove"), QString::number(device.x()), QString::number(device.y())});
}

void Session::clickDevice(QPoint device)
{
    xdotool({QStringLiteral("mousemove"), QString::number(device.x()), QString::number(device.y()),
             QStringLiteral("click"), QStringLiteral("1")});
}

void Session::focus(std::optional<XDisplay::TopLevel> target)
{
    QPoint place = m_origin + RestingPlace * m_scale;
    Window window = m_window;
    if (target) {
        place = target->geometry.topLeft() + QPoint(target->geometry.width() / 2, 8);
        window = target->id;
    }
    xdotool({QStringLiteral("mousemove"), QString::number(place.x()), QString::number(place.y())});
    xdotool({QStringLiteral("windowfocus"), QString::number(window)});
}

void Session::type(const QString &text, std::optional<XDisplay::TopLevel> target)
{
    focus(target);
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

void Session::key(const QString &keys, std::optional<XDisplay::TopLevel> target, int delayMs)
{
    focus(target);
    QStringList arguments{QStringLiteral("key"), QStringLiteral("--delay"),
                          QString::number(delayMs)};
    arguments += keys.split(u' ', Qt::SkipEmptyParts);
    xdotool(arguments);
}

QImage Session::waitFor(const std::function<bool(const QImage &)> &test, const QString &what,
                        int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QImage image;
    do {
        image = grab();
        if (!image.isNull() && test(image))
            return image;
        QThread::msleep(PollMs);
    } while (!deadline.hasExpired());
    save(image, what + QStringLiteral("-timeout"));
    fail(QStringLiteral("timed out waiting for %1%2")
             .arg(what, isRunning() ? QString() : QStringLiteral(" (the program has ended)")));
    return {};
}

QImage Session::waitUntilSteady(const QString &what)
{
    QImage previous;
    int sameFor = 0;
    // Five equal screenshots in a row, about a fifth of a second without a change.
    return waitFor(
        [&](const QImage &image) {
            sameFor = image == previous ? sameFor + 1 : 0;
            previous = image;
            return sameFor >= 4;
        },
        what);
}

QImage Session::waitForRunEnd(const QString &step)
{
    const auto complete = [this](const QImage &image) {
        return Pict::runLooksComplete(image, m_scale);
    };
    if (waitFor([&](const QImage &image) { return !complete(image); },
                step + QStringLiteral("-run-under-way"))
            .isNull())
        return {};
    if (waitFor(complete, step + QStringLiteral("-run-end")).isNull())
        return {};
    const QImage steady = waitUntilSteady(step + QStringLiteral("-steady"));
    if (steady.isNull())
        return {};
    return save(steady, step);
}

std::optional<XDisplay::TopLevel> Session::question() const
{
    return m_display.findMapped(QuestionTitle);
}

std::optional<XDisplay::TopLevel> Session::waitForQuestion()
{
    const QDeadlineTimer deadline(60000);
    do {
        if (auto box = question()) {
            // Shown once its text is painted.
            const QImage image = m_display.grab(box->geometry);
            if (!image.isNull() && Pict::hasDarkPixels(image, 1, QRect(QPoint(0, 0), image.size())))
                return box;
        }
        QThread::msleep(PollMs);
    } while (!deadline.hasExpired() && isRunning());
    save(grab(), QStringLiteral("question-timeout"));
    fail(QStringLiteral("the question \"Delete probability\" did not appear"));
    return std::nullopt;
}

bool Session::holdWindowContents()
{
    if (!m_held)
        m_held = m_display.holdContents(m_window);
    return m_held != 0;
}

QImage Session::heldWindowContents() const
{
    if (!m_held)
        return {};
    return m_display.readPixmap(m_held, Pict::ClientSize * m_scale);
}

std::optional<int> Session::waitForExit(int timeoutMs)
{
    if (!m_process.waitForFinished(timeoutMs)) {
        fail(QStringLiteral("the program did not end"));
        return std::nullopt;
    }
    if (m_process.exitStatus() != QProcess::NormalExit) {
        fail(QStringLiteral("the program crashed: %1").arg(programOutput()));
        return std::nullopt;
    }
    return m_process.exitCode();
}

qint64 Session::residentKiB() const
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid()));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

QString Session::programOutput()
{
    m_output += QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_output;
}
