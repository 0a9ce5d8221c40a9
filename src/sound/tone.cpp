// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tone.h"

#include <algorithm>
#include <cmath>

double pitchOf(double probability, double greatest)
{
    const double share = greatest > 0 ? std::clamp(probability / greatest, 0.0, 1.0) : 0.0;
    return LowestPitch * std::pow(HighestPitch / LowestPitch, share);
}
