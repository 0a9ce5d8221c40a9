// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// A modal question that can only be answered, not dismissed. Callers tell No from
// every other answer, so anything unexpected counts as Yes.
class YesNoQuestion
{
public:
    enum class Answer { Yes, No };

    virtual ~YesNoQuestion() = default;
    virtual Answer ask(const QString &text) = 0;
};
