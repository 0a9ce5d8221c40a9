// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

// The fixed words the state fields hold, the graph colour's and the first-run flag's;
// compared exactly, accents and case included.
namespace ColourWord {
inline constexpr QStringView modrá = u"modrá";
inline constexpr QStringView zelená = u"zelená";
inline constexpr QStringView červená = u"červená";
inline constexpr QStringView černá = u"černá";
} // namespace ColourWord

namespace FirstRunFlag {
inline constexpr QStringView Ano = u"Ano";
inline constexpr QStringView Ne = u"Ne";
} // namespace FirstRunFlag
