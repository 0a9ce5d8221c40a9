// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "headlessrender.h"

#include "commandline.h"
#include "curvecsv.h"
#include "errorline.h"
#include "picturefiles.h"
#include "run/curvelog.h"

int writeRenderedFiles(const CommandLine &line, QWidget &window, const CurveLog &curves)
{
    std::vector<PictureFiles::Content> files;
    if (!line.picturePath.isEmpty())
        files.push_back(
            PictureFiles::pictureFile(PictureFiles::windowPicture(window), line.picturePath));
    if (!line.csvPath.isEmpty())
        files.push_back({line.csvPath, CurveCsv::of(curves), {}});
    QString error;
    const bool written = PictureFiles::writeFiles(files, &error);
    if (written)
        return 0;
    ErrorLine::print(PictureFiles::printable(error));
    return 1;
}
