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
