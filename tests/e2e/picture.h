// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

// Reading the program's picture off a screenshot. Places are given in the window's
// logical pixels, as a person measures them on a plain screen; a screenshot taken at a
// screen scale has `scale` device pixels to each of them (a projector's zoom of 1.75 too,
// where the functions take a double).
namespace Pict {

// Problems found, one line each; empty when the picture is right.
using Problems = QStringList;

inline constexpr QSize ClientSize{800, 581};

inline constexpr QRgb Grey = 0xffc0c0c0;
inline constexpr QRgb Black = 0xff000000;
inline constexpr QRgb Cyan = 0xffc0ffff;
inline constexpr QRgb Red = 0xffff0000;
inline constexpr QRgb Green = 0xff00ff00;
inline constexpr QRgb Blue = 0xff0000ff;
inline constexpr QRgb Pink = 0xffffc0c0;
inline constexpr QRgb PictureInk = 0xff1f1a17;
inline constexpr QRgb PicturePaper = 0xffc2c2c1;

// Controls and canvas items, as the window lays them out.
inline constexpr QRect StartRect{624, 8, 73, 33};
inline constexpr QRect ExitRect{720, 8, 73, 33};
inline constexpr QRect ScrollRect{344, 24, 145, 17};
inline constexpr QRect PromptRect{152, 272, 273, 33};
inline constexpr QRect PictureRect{400, 296, 16, 143};
// The run-end labels where a run with the start-up settings puts them: half pixels
// (60.5, 170.5) may land on either side.
inline constexpr QRect SourceLabel{25, 61, 57, 17};
inline constexpr QRect DetectorLabel{360, 61, 65, 17};
inline constexpr QRect PatternLabel{470, 171, 233, 17};

struct OptionButton {
    const char *name;
    QRect rect;
};
inline constexpr OptionButton BlackColour{"opCerna", {88, 24, 49, 17}};
inline constexpr OptionButton RedColour{"opCervena", {144, 24, 65, 13}};
inline constexpr OptionButton GreenColour{"opzelená", {88, 40, 57, 13}};
inline constexpr OptionButton BlueColour{"opModra", {144, 40, 65, 13}};
inline constexpr OptionButton Freq05{"op05", {144, 96, 73, 17}};
inline constexpr OptionButton Freq1{"op1", {224, 96, 65, 13}};
inline constexpr OptionButton Freq15{"op15", {144, 112, 73, 13}};
inline constexpr OptionButton Len05{"op05D", {656, 104, 49, 17}};
inline constexpr OptionButton Len1{"op1D", {680, 120, 33, 13}};
inline constexpr OptionButton Len15{"op15D", {704, 136, 41, 13}};

// The titled frames around the option groups.
struct Frame {
    const char *title;
    QRect rect;
};
inline constexpr Frame ColourFrame{"Graph colour", {80, 0, 137, 57}};
inline constexpr Frame FrequencyFrame{"Relative frequency", {136, 72, 161, 57}};
inline constexpr Frame LengthFrame{"Relative length ", {632, 88, 129, 65}};

// The point where a click on the option's caption lands.
inline QPoint clickPoint(const OptionButton &option)
{
    return option.rect.center() + QPoint(4, 0);
}
// Whether the option's round indicator shows the dot of the chosen option.
bool isChosen(const QImage &image, int scale, const OptionButton &option);

// Whether the option's round indicator is white inside, as an unchosen one should be.
bool isWhiteInside(const QImage &image, int scale, const OptionButton &option);
// A classic titled frame: an etched line all round whose top runs through the middle of
// the title, unbroken but for the title, and nothing of the options outside it.
Problems checkFrame(const QImage &image, int scale, const Frame &frame);

// What a run is set to; the curve follows from frequency and length.
struct RunSettings {
    double frequency = 1;
    double length = 1;
};

// Offset of the curve point from the graph's vertical axis at the given thickness.
double plotX(const RunSettings &settings, int thickness);
// The maximum and half-maximum reference lines.
double maximumLineX(const RunSettings &settings);
double halfMaximumLineX(const RunSettings &settings);

struct Curve {
    RunSettings settings;
    QRgb colour;
};

// Every one of the 301 points of `curve` is where it belongs, give or take a pixel
// (except where a curve of `later` plotted over it), and no pixel of its colour lies
// anywhere else on the graph unless another curve of that colour explains it.
Problems checkCurve(const QImage &image, double scale, const Curve &curve,
                    const std::vector<Curve> &others = {}, bool checkStrayPixels = true);
// No pixel of the colour anywhere on the graph.
Problems checkNoCurve(const QImage &image, int scale, QRgb colour);
// A black vertical line one logical pixel wide, at x give or take a pixel, from top to bottom.
Problems checkVerticalLine(const QImage &image, int scale, double x, double top, double bottom,
                           const QString &name);
// No vertical black line within a pixel of x between top and bottom.
Problems checkNoVerticalLine(const QImage &image, int scale, double x, double top, double bottom,
                             const QString &name);
// The maximum and half-maximum lines of a run with these settings, or their absence.
Problems checkReferenceLines(const QImage &image, int scale, const RunSettings &settings,
                             const QString &which = {}, bool present = true);
Problems checkTopAxis(const QImage &image, int scale);
// The light cyan sheet: rows 191 to 491 between x 30 and 399, crossed only by the black
// back path; nothing of it outside.
Problems checkSheet(const QImage &image, int scale);
// Text in the label's rectangle, starting at its top-left corner, nothing dark around it.
Problems checkLabel(const QImage &image, int scale, const QRect &rect, const QString &name);
// The thickness picture, two colours, exactly in its rectangle.
Problems checkPicture(const QImage &image, int scale);
// Only the final back arrow is red on the dial, and above the sheet only the four path
// lines are black: whatever the run erased left no trace.
Problems checkErasing(const QImage &image, int scale, const RunSettings &settings);
// The run-end picture of a run with the start-up layout: sheet, picture and labels.
Problems checkRunEnd(const QImage &image, int scale);

bool runLooksComplete(const QImage &image, double scale);
bool hasDarkPixels(const QImage &image, double scale, const QRect &logical);
// Pixels in the logical rectangle whose colour differs from `colour`.
int countOther(const QImage &image, double scale, const QRect &logical, QRgb colour);
int countColour(const QImage &image, double scale, const QRect &logical, QRgb colour);
// Aligned scale × scale blocks that are not of one colour: zero for a picture drawn at
// one pixel per logical pixel and blown up.
int mixedBlocks(const QImage &image, int scale, const QRect &logical);
// Pixels of colours other than the given ones.
int countNotIn(const QImage &image, double scale, const QRect &logical, const QList<QRgb> &colours);

} // namespace Pict
