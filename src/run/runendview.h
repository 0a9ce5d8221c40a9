// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The run-end items of the window: the thickness picture and three labels.
class RunEndView
{
public:
    enum class Label { labOdrazovost, labZdroj, labDetektor };

    virtual ~RunEndView() = default;

    virtual void showThicknessPicture() = 0;
    // Shows the label with its top-left corner at the given canvas position.
    virtual void showLabel(Label label, double left, double top) = 0;
};
