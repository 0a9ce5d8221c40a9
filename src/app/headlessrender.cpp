#include "headlessrender.h"

#include "commandline.h"
#include "mainwindow.h"
#include "pictureexport.h"
#include "run/steppacer.h"

#include <QPushButton>

#include <cstdio>

namespace {

class NoWait : public StepPacer
{
public:
    void stepDone(double) override {}
};

} // namespace

int renderHeadless(const CommandLine &line)
{
    MainWindow window;
    window.setPacer(std::make_unique<NoWait>());
    applyPresets(window, line);
    auto *start = window.findChild<QPushButton *>(QStringLiteral("cmdStart"));
    Q_ASSERT(start);
    start->click();

    QString error;
    const bool written = (line.picturePath.isEmpty() ||
                          PictureFiles::writePicture(PictureFiles::windowPicture(window),
                                                     line.picturePath, &error)) &&
                         (line.csvPath.isEmpty() ||
                          PictureFiles::writeBytes(window.curves().toCsv(), line.csvPath, &error));
    if (written)
        return 0;
    std::fprintf(stderr, "quorvane: %s\n", qPrintable(error));
    return 1;
}
