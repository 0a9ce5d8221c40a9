// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QString>

class CurveLog;

// What the picture shows, for a screen reader: how many curves, then each run since the
// curves were last wiped, oldest first, with its settings, colour, least and greatest
// probability and period in rows; before any run, that the canvas is empty and how to begin.
// Numbers are written in the locale.
QString describeCurves(const CurveLog &log, const QLocale &locale);
