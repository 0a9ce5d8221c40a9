// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tone.h"

#include <QThread>

class ToneStream;

// The tone through Qt Multimedia's QAudioSink. The sink pulls its samples on a thread of its
// own, so that a run, which owns the window's thread while it lasts, never waits for it and
// never starves it; the pitch and the loudness reach it as atomic numbers. The stream is
// opened on the first sound and closed after a while of silence.
class AudioTone : public Tone
{
public:
    AudioTone();
    ~AudioTone() override;

    void play(double hertz) override;
    void note(double hertz) override;
    void stop() override;

private:
    void wake();

    QThread m_thread;
    ToneStream *m_stream = nullptr;
};
