// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

// A soft continuous tone whose pitch can change at any time without a click: the phase runs
// on and the pitch glides to the new one in a few milliseconds. Nothing here waits for the
// sound to be heard.
class Tone
{
public:
    virtual ~Tone() = default;

    // Sounds until stopped, gliding to this pitch in hertz.
    virtual void play(double hertz) = 0;
    // Sounds a short note at this pitch, then fades out.
    virtual void note(double hertz) = 0;
    // Fades out.
    virtual void stop() = 0;
};

// The lowest and highest pitch of a curve, in hertz.
inline constexpr double LowestPitch = 220;
inline constexpr double HighestPitch = 880;

// The pitch of a probability: LowestPitch at 0 rising to HighestPitch at the greatest
// probability, evenly on a logarithmic scale (two octaves), so equal steps of probability
// sound as equal steps of pitch.
double pitchOf(double probability, double greatest);

// The tone through the system's default audio output. Where there is none, or it fails,
// the tone stays silent and one line on standard error says so.
std::unique_ptr<Tone> openAudioTone();
