// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Every option button of the five option groups.
enum class Option {
    op05,
    op1,
    op15,
    op05D,
    op1D,
    op15D,
    opModra,
    opzelená,
    opCervena,
    opCerna,
    op0,
    op50,
    nPomalá,
    opPomalší,
    opRychlá,
};
