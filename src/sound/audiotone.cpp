// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audiotone.h"

#include "about.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int SampleRate = 44100;
// A moderate loudness: a third of full scale.
constexpr double Loudness = 0.3;
// How fast the pitch glides to a new one and the loudness to a new one, in seconds: quick
// enough to follow a step of a run, slow enough that no change clicks.
constexpr double PitchGlide = 0.004;
constexpr double LoudnessGlide = 0.008;
constexpr double NoteLength = 0.25;
// What is made ahead of what is heard, and how often it is topped up, in milliseconds.
constexpr int BufferMs = 50;
constexpr int FeedMs = 10;
// Silence this long closes the stream, so an idle program keeps no audio stream open.
constexpr int CloseAfterSilenceMs = 2000;

// Samples of the tone: a sine whose phase runs on whatever the pitch, so that changes of
// pitch never break the wave.
class Synthesizer
{
public:
    std::atomic<double> targetPitch{LowestPitch};
    // Sounds while held, and until this sample in any case (a note).
    std::atomic<bool> held{false};
    std::atomic<std::int64_t> soundsUntil{0};
    // Samples made so far, and how many of the last ones were silent.
    std::atomic<std::int64_t> made{0};
    std::int64_t silentSamples = 0;

    bool wantsSound() const { return held || soundsUntil > made; }

    void render(qint16 *samples, qint64 count)
    {
        const double pitchStep = 1 - std::exp(-1.0 / (SampleRate * PitchGlide));
        const double loudnessStep = 1 - std::exp(-1.0 / (SampleRate * LoudnessGlide));
        const double target = std::log(targetPitch.load());
        const bool hold = held.load();
        const std::int64_t until = soundsUntil.load();
        std::int64_t index = made.load();
        for (qint64 i = 0; i < count; ++i, ++index) {
            m_logPitch += (target - m_logPitch) * pitchStep;
            const double wanted = hold || index < until ? 1.0 : 0.0;
            m_loudness += (wanted - m_loudness) * loudnessStep;
            m_phase += 2 * std::numbers::pi * std::exp(m_logPitch) / SampleRate;
            if (m_phase > 2 * std::numbers::pi)
                m_phase -= 2 * std::numbers::pi;
            samples[i] = qint16(std::lround(std::sin(m_phase) * m_loudness * Loudness * 32767));
        }
        made = index;
        const bool silent = !hold && index >= until && m_loudness < 1e-4;
        silentSamples = silent ? silentSamples + count : 0;
    }

private:
    double m_logPitch = std::log(LowestPitch);
    double m_loudness = 0;
    double m_phase = 0;
};

// Qt's sound server client says on its own when it finds no server, which the tone says
// once in its own words.
QtMessageHandler nextMessageHandler = nullptr;

void dropSoundServerNews(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(QLatin1String("PulseAudioService:")))
        return;
    if (nextMessageHandler)
        nextMessageHandler(type, context, text);
}

} // namespace

// Lives on the tone's thread: opens the sink when there is something to hear, closes it
// after a while of silence, and says once on standard error when there is no way to sound.
class ToneStream : public QObject
{
public:
    Synthesizer synthesizer;
    // True from a wake asked for until the stream closes after silence.
    std::atomic<bool> streaming{false};

    // Finds the output and makes the sink ahead of the first sound, which then only starts it.
    void prepare()
    {
        if (!m_sink && !m_failed)
            open();
    }

    void wake()
    {
        streaming = true;
        if (m_failed || m_out)
            return;
        if (!m_sink && !open())
            return;
        synthesizer.silentSamples = 0;
        m_out = m_sink->start();
        if (!m_out || m_sink->error() != QAudio::NoError) {
            fail(QStringLiteral("the audio output would not start"));
            return;
        }
        feed();
        m_feed.start();
    }

private:
    bool open()
    {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            fail(QStringLiteral("no audio output was found"));
            return false;
        }
        QAudioFormat format;
        format.setSampleRate(SampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format)) {
            fail(QStringLiteral("the audio output takes no 16-bit mono sound"));
            return false;
        }
        m_sink = new QAudioSink(device, format, this);
        // Only this much is ever made ahead of what is heard, so a pitch is heard about this
        // long after its step: the sink's own pull takes 186 ms at a time, too coarse for a
        // step of 10 ms, so the samples are pushed in small pieces instead.
        m_sink->setBufferSize(format.bytesForDuration(BufferMs * 1000));
        m_feed.setTimerType(Qt::PreciseTimer);
        m_feed.setInterval(FeedMs);
        connect(&m_feed, &QTimer::timeout, this, &ToneStream::feed);
        return true;
    }

    // Tops the sink's buffer up; after a while of silence closes the stream.
    void feed()
    {
        if (m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError) {
            m_feed.stop();
            fail(QStringLiteral("the audio output failed"));
            return;
        }
        const qint64 count = m_sink->bytesFree() / qint64(sizeof(qint16));
        if (count > 0) {
            m_samples.resize(std::size_t(count));
            synthesizer.render(m_samples.data(), count);
            m_out->write(reinterpret_cast<const char *>(m_samples.data()),
                         count * qint64(sizeof(qint16)));
        }
        if (synthesizer.silentSamples > qint64(SampleRate) * CloseAfterSilenceMs / 1000) {
            m_feed.stop();
            m_sink->stop();
            m_out = nullptr;
            streaming = false;
            // Asked for while it closed: the asker saw it open and left it to this.
            if (synthesizer.wantsSound())
                wake();
        }
    }

    void fail(const QString &why)
    {
        if (m_failed)
            return;
        m_failed = true;
        std::fprintf(stderr, "%s: %s; the curve's sound stays silent\n", About::Command,
                     qPrintable(why));
        std::fflush(stderr);
    }

    QAudioSink *m_sink = nullptr;
    QIODevice *m_out = nullptr;
    QTimer m_feed{this};
    std::vector<qint16> m_samples;
    bool m_failed = false;
};

AudioTone::AudioTone()
    : m_stream(new ToneStream)
{
    static const bool quiet = [] {
        nextMessageHandler = qInstallMessageHandler(dropSoundServerNews);
        return true;
    }();
    Q_UNUSED(quiet);
    m_thread.setObjectName(QStringLiteral("tone"));
    m_stream->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_stream, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_stream, [stream = m_stream] { stream->prepare(); }, Qt::QueuedConnection);
}

AudioTone::~AudioTone()
{
    m_thread.quit();
    m_thread.wait();
}

void AudioTone::play(double hertz)
{
    m_stream->synthesizer.targetPitch = hertz;
    m_stream->synthesizer.held = true;
    wake();
}

void AudioTone::note(double hertz)
{
    m_stream->synthesizer.targetPitch = hertz;
    m_stream->synthesizer.soundsUntil =
        m_stream->synthesizer.made + std::int64_t(NoteLength * SampleRate);
    wake();
}

void AudioTone::stop()
{
    m_stream->synthesizer.held = false;
    m_stream->synthesizer.soundsUntil = 0;
}

void AudioTone::wake()
{
    // Only when the stream is closed: a step of a run posts nothing while it sounds.
    if (!m_stream->streaming.exchange(true))
        QMetaObject::invokeMethod(
            m_stream, [stream = m_stream] { stream->wake(); }, Qt::QueuedConnection);
}

std::unique_ptr<Tone> openAudioTone()
{
    return std::make_unique<AudioTone>();
}
