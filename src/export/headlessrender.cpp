// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "headlessrender.h"

#include "commandline.h"
#include "picturefiles.h"
#include "run/curvelog.h"

#include <cstdio>

int writeRenderedFiles(const CommandLine &line, QWidget &window, const CurveLog &curves)
{
    std::vector<PictureFiles::Content> files;
    if (!line.picturePath.isEmpty())
        files.push_back(
            PictureFiles::pictureFile(PictureFiles::windowPicture(window), line.picturePath));
    if (!line.csvPath.isEmpty())
        files.push_back({line.csvPath, curves.toCsv(), {}});
    QString error;
    const bool written = PictureFiles::writeFiles(files, &error);
    if (written)
        return 0;
    std::fprintf(stderr, "quorvane: %s\n", qPrintable(PictureFiles::printable(error)));
    return 1;
}
