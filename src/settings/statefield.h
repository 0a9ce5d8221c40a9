// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The six hidden text fields that together hold every setting of the experiment.
enum class StateField {
    nStartuje,
    nFrekvence,
    nNasob,
    nPosunZdroje,
    nBarva,
    nSpomaleni,
};
