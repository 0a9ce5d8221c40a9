#include "headlessrender.h"

#include "commandline.h"
#include "mainwindow.h"
#include "pictureexport.h"
#include "run/steppacer.h"

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
    window.pressStart();

    std::vector<PictureFiles::Content> files;
    if (!line.picturePath.isEmpty())
        files.push_back(
            PictureFiles::pictureFile(PictureFiles::windowPicture(window), line.picturePath));
    if (!line.csvPath.isEmpty())
        files.push_back({line.csvPath, window.curves().toCsv()});
    QString error;
    const bool written = PictureFiles::writeFiles(files, &error);
    if (written)
        return 0;
    std::fprintf(stderr, "quorvane: %s\n", qPrintable(error));
    return 1;
}
