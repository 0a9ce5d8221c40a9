// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "memorysettingsstore.h"

MemorySettingsStore::MemorySettingsStore()
    : m_texts{QStringLiteral("Ano"), QStringLiteral("1"),      QStringLiteral("1"),
              QStringLiteral("0"),   QStringLiteral("zelená"), QStringLiteral("1")}
{}
