// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screenupdates.h"

#include <QByteArray>

void preferSmallScreenUpdates()
{
    constexpr const char *Name = "QT_XCB_NO_MITSHM";
    if (!qEnvironmentVariableIsSet(Name))
        qputenv(Name, QByteArrayLiteral("1"));
    else if (qgetenv(Name) == "0")
        qunsetenv(Name);
}
