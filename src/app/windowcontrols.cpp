// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's 36 controls as one table, and the loop that builds them.

#include "mainwindow.h"

#include "access/accessiblecontrols.h"
#include "canvas/strokecolour.h"
#include "fonts.h"
#include "input/scrollbarfocus.h"
#include "screen/canvasitem.h"
#include "screen/canvaswidget.h"
#include "settings/numbertext.h"
#include "settings/slowdown.h"
#include "thicknesspicture.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>

#include <algorithm>
#include <optional>
#include <variant>

namespace {

// The canvas erases by drawing in its background grey, so the window shares it.
const QColor Grey(StrokeColour::BackgroundGrey);
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);
const QColor LightBlue(192, 192, 255);
const QColor PaleGreen(192, 255, 192);
const QColor LightOrange(255, 224, 192);
const QColor White(255, 255, 255);

// A heading's field would take Ctrl+C for its own text, which only reads as a caption; the
// key copies the picture there as everywhere else in the window.
class CopyKeyToWindow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride ||
            !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy))
            return false;
        event->ignore();
        return true;
    }
};

enum class Kind { Caption, StateField, ScrollBar, Frame, Option, Command, Label, Picture };

// The window's member that holds the control; a control added later needs none, since
// its row alone places it, names it and, for an option, puts it in its frame's group.
using Member = std::variant<std::monostate, QLineEdit * MainWindow::*, QScrollBar * MainWindow::*,
                            QGroupBox * MainWindow::*, QRadioButton * MainWindow::*,
                            QPushButton * MainWindow::*, CanvasItem * MainWindow::*>;

struct ControlRow {
    Kind kind;
    Member member;
    const char *name;
    QGroupBox *MainWindow::*frame; // null: the window itself
    QRect place;                   // in the frame, or in the window
    const char *caption;
    QFont (*font)();
    QColor background;
    bool visible;
    int tabIndex; // -1: never takes the focus
    std::optional<Option> option;
    // What a screen reader says: the captions on screen are terse ("0,5 red", "zelená"),
    // and the scroll bar and the headings have none.
    const char *spokenName = nullptr;
    const char *description = nullptr;
};

// Radio buttons paint their background with the Button role and text fields with Base.
// An option's circle is filled with Base too, and stays white.
void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Base, qobject_cast<QRadioButton *>(widget) ? White : colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A screen reader says 0.5 and 1.5 as the settings write them, "0,5" under a decimal comma.
QString inUserLocale(const char *spoken)
{
    static const QRegularExpression fraction(QStringLiteral("\\d+\\.\\d+"));
    const QString text = QString::fromUtf8(spoken);
    QString local;
    qsizetype done = 0;
    for (const QRegularExpressionMatch &match : fraction.globalMatch(text)) {
        local += QStringView(text).mid(done, match.capturedStart() - done);
        local += NumberText::fromFraction(match.captured().toDouble());
        done = match.capturedEnd();
    }
    local += QStringView(text).mid(done);
    return local;
}

QWidget *createWidget(const ControlRow &row, QWidget *parent)
{
    const QString caption = QString::fromUtf8(row.caption);
    QWidget *widget = nullptr;
    switch (row.kind) {
    case Kind::Caption: {
        // The two headings are text fields that only read as captions: frameless and grey.
        auto *field = new QLineEdit(caption, parent);
        field->setFrame(false);
        field->setReadOnly(true);
        field->setTextMargins(0, 0, 0, 0);
        field->installEventFilter(new CopyKeyToWindow(field));
        widget = field;
        break;
    }
    case Kind::StateField: {
        auto *field = new QLineEdit(parent);
        keepFromScreenReaders(field);
        field->setText(caption);
        widget = field;
        break;
    }
    case Kind::ScrollBar: {
        auto *scrollBar = new QScrollBar(Qt::Horizontal, parent);
        scrollBar->setObjectName(QString::fromUtf8(row.name));
        scrollBar->setRange(SlowDown::Fastest, SlowDown::Slowest);
        scrollBar->setSingleStep(1);
        scrollBar->setPageStep(1);
        scrollBar->setValue(SlowDown::Fastest);
        // A drag changes the setting once, when the thumb is let go.
        scrollBar->setTracking(false);
        makeScrollBarReachable(scrollBar);
        widget = scrollBar;
        break;
    }
    case Kind::Frame:
        widget = new QGroupBox(caption, parent);
        break;
    case Kind::Option:
        widget = new QRadioButton(caption, parent);
        break;
    case Kind::Command: {
        auto *button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        widget = button;
        break;
    }
    case Kind::Label:
    case Kind::Picture:
        return nullptr;
    }
    widget->setObjectName(QString::fromUtf8(row.name));
    widget->setGeometry(row.place);
    if (!row.visible)
        widget->setVisible(false);
    if (row.font)
        widget->setFont(row.font());
    if (row.background.isValid())
        setBackground(widget, row.background);
    if (row.spokenName) {
        widget->setAccessibleName(inUserLocale(row.spokenName));
        widget->setAccessibleDescription(inUserLocale(row.description));
    }
    return widget;
}

// The labels and the picture lie on the canvas's own layer.
CanvasItem *createItem(const ControlRow &row, CanvasWidget *canvas)
{
    auto *item = new CanvasItem(QString::fromUtf8(row.name), row.place, canvas);
    if (row.kind == Kind::Picture)
        item->setPicture(
            [place = row.place](qreal ratio) { return thicknessPicture(place, ratio); });
    else
        item->setText(QString::fromUtf8(row.caption), row.font(), Qt::AlignLeft | Qt::AlignTop);
    if (row.visible)
        item->show();
    return item;
}

template <typename... Visitors> struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
// Clang 14 does not yet deduce an aggregate's template arguments by itself.
template <typename... Visitors> Overloaded(Visitors...) -> Overloaded<Visitors...>;

} // namespace

void MainWindow::createControls()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Grey);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    using Fonts::S8B;
    using Fonts::standard;
    using Fonts::T12;
    using Fonts::T14;
    using Fonts::T15;
    using K = Kind;
    using O = Option;
    using M = MainWindow;
    constexpr bool shown = true;
    constexpr bool hidden = false;
    const std::nullopt_t none = std::nullopt;
    QGroupBox *MainWindow::*const window = nullptr;

    // In the order the window creates them, which decides what lies above what.
    // clang-format off
    const ControlRow rows[] = {
        {K::Caption, &M::nRelativeRngth, "nRelativeRngth", window, {632, 72, 129, 19}, "Vectors of two paths ", S8B, Grey, shown, 34, none,
         "Heading: vectors of two paths",
         "Heading of the relative length options below it"},
        {K::ScrollBar, &M::HScroll1, "HScroll1", window, {344, 24, 145, 17}, "", nullptr, {}, shown, 33, none,
         "Animation slow-down",
         nullptr}, // tells the value as well, so the window writes it as the value changes
        {K::Caption, &M::nZrcadleniDvouRozhrani, "nZrcadleniDvouRozhrani", window, {312, 0, 217, 25}, "Quorvane", T14, Grey, shown, 32, none,
         "Program title",
         "Partial reflection by two surfaces of glass"},
        {K::Frame, &M::frmAnimace, "frmAnimace", window, {64, 200, 81, 73}, "Animace", S8B, Grey, hidden, 28, none},
        {K::Option, &M::nPomalá, "nPomalá", &M::frmAnimace, {8, 48, 65, 17}, "Pomalá", standard, Grey, shown, 31, O::nPomalá},
        {K::Option, &M::opPomalší, "opPomalší", &M::frmAnimace, {8, 32, 65, 13}, "Pomalejší", standard, Grey, shown, 30, O::opPomalší},
        {K::Option, &M::opRychlá, "opRychlá", &M::frmAnimace, {8, 16, 57, 17}, "Rychlá", standard, Grey, shown, 29, O::opRychlá},
        {K::StateField, &M::nSpomaleni, "nSpomaleni", window, {552, 24, 41, 19}, "Spomaleni", standard, White, hidden, 27, none},
        {K::Frame, &M::frmPosunZdroje, "frmPosunZdroje", window, {24, 96, 105, 49}, "Posun zdroje", T12, Grey, hidden, 24, none},
        {K::Option, &M::op50, "op50", &M::frmPosunZdroje, {32, 32, 33, 13}, "50", standard, Grey, shown, 26, O::op50},
        {K::Option, &M::op0, "op0", &M::frmPosunZdroje, {32, 16, 41, 13}, "0", standard, Grey, shown, 25, O::op0},
        {K::StateField, &M::nPosunZdroje, "nPosunZdroje", window, {520, 80, 49, 19}, "nPosunZdroje", standard, White, hidden, 23, none},
        {K::Frame, &M::frmRelDelka, "frmRelDelka", window, {632, 88, 129, 65}, "Relative length ", T12, Grey, shown, 15, none,
         "Relative length of the back-surface arrow",
         "Sets how strongly the back surface reflects compared with the front"},
        {K::Option, &M::op15D, "op15D", &M::frmRelDelka, {72, 48, 41, 13}, "1,5", standard, Grey, shown, 18, O::op15D,
         "Relative length 1.5",
         "Back-surface arrow one and a half times as long as the front arrow"},
        {K::Option, &M::op1D, "op1D", &M::frmRelDelka, {48, 32, 33, 13}, "1", standard, Grey, shown, 17, O::op1D,
         "Relative length 1",
         "Back-surface arrow as long as the front arrow: the probability falls to zero"},
        {K::Option, &M::op05D, "op05D", &M::frmRelDelka, {24, 16, 49, 17}, "0,5", standard, Grey, shown, 16, O::op05D,
         "Relative length 0.5",
         "Back-surface arrow half as long as the front arrow"},
        {K::Command, &M::cmdKonec, "cmdKonec", window, {720, 8, 73, 33}, "Exit", T14, Grey, shown, 14, none,
         "Exit",
         "Close Quorvane"},
        {K::Frame, &M::frmFrekvence, "frmFrekvence", window, {136, 72, 161, 57}, "Relative frequency", T12, Grey, shown, 10, none,
         "Relative frequency of the light",
         "Choosing a frequency also chooses the graph colour of its name"},
        {K::Option, &M::op15, "op15", &M::frmFrekvence, {8, 40, 73, 13}, "1,5 blue", standard, LightBlue, shown, 13, O::op15,
         "Relative frequency 1.5, blue curve",
         "One and a half times the frequency: the curve's period is two thirds as long"},
        {K::Option, &M::op1, "op1", &M::frmFrekvence, {88, 24, 65, 13}, "1 green", standard, Green, shown, 12, O::op1,
         "Relative frequency 1, green curve",
         "The back arrow turns a full circle about every 80 pixels of thickness"},
        {K::Option, &M::op05, "op05", &M::frmFrekvence, {8, 24, 73, 17}, "0,5 red", standard, Red, shown, 11, O::op05,
         "Relative frequency 0.5, red curve",
         "Half the frequency: the arrow turns half as fast and the curve's period doubles"},
        {K::Frame, &M::frmBarva1, "frmBarva1", window, {80, 0, 137, 57}, "Graph colour", T12, Grey, shown, 5, none,
         "Graph colour",
         "Colour of the curve the next run plots"},
        {K::Option, &M::opModra, "opModra", &M::frmBarva1, {64, 40, 65, 13}, "modrá", standard, LightBlue, shown, 9, O::opModra,
         "Graph colour blue (modrá)",
         "Plot the next curve in blue"},
        {K::Option, &M::opzelená, "opzelená", &M::frmBarva1, {8, 40, 57, 13}, "zelená", standard, Green, shown, 8, O::opzelená,
         "Graph colour green (zelená)",
         "Plot the next curve in green"},
        {K::Option, &M::opCervena, "opCervena", &M::frmBarva1, {64, 24, 65, 13}, "červená", standard, Red, shown, 7, O::opCervena,
         "Graph colour red (červená)",
         "Plot the next curve in red"},
        {K::Option, &M::opCerna, "opCerna", &M::frmBarva1, {8, 24, 49, 17}, "black", standard, Grey, shown, 6, O::opCerna,
         "Graph colour black",
         "Plot the next curve in black"},
        {K::StateField, &M::nBarva, "nBarva", window, {496, 56, 57, 19}, "nBarva", S8B, PaleGreen, hidden, 4, none},
        {K::StateField, &M::nStartuje, "nStartuje", window, {440, 80, 73, 25}, "nStartuj", standard, LightOrange, hidden, 3, none},
        {K::StateField, &M::nFrekvence, "nFrekvence", window, {96, 40, 33, 19}, "nFrekvence", S8B, PaleGreen, hidden, 2, none},
        {K::StateField, &M::nNasob, "nNasob", window, {600, 96, 33, 19}, "nNasob", S8B, PaleGreen, hidden, 1, none},
        {K::Command, &M::cmdStart, "cmdStart", window, {624, 8, 73, 33}, "Start", T15, Grey, shown, 0, none,
         "Start",
         "Sweep the thickness of the glass from 0 to 300 pixels and plot the probability of reflection"},
        {K::Picture, &M::imThickness, "imThickness", window, {400, 296, 16, 143}, "", nullptr, {}, hidden, -1, none},
        {K::Label, &M::labKlepnuti, "labKlepnuti", window, {152, 272, 273, 33}, "Please press button Start", T15, Grey, shown, 22, none},
        {K::Label, &M::labDetektor, "labDetektor", window, {232, 48, 65, 17}, "Detector", T12, Grey, hidden, 21, none},
        {K::Label, &M::labZdroj, "labZdroj", window, {32, 56, 57, 17}, "Source", T12, Grey, hidden, 20, none},
        {K::Label, &M::labOdrazovost, "labOdrazovost", window, {224, 32, 233, 17}, "Interfernce pattern (probability)", T12, Grey, hidden, 19, none},
    };
    // clang-format on

    for (const ControlRow &row : rows) {
        QWidget *parent = row.frame ? static_cast<QWidget *>(this->*row.frame) : this;
        std::visit(
            Overloaded{
                [&](std::monostate) { createWidget(row, parent); },
                [&](CanvasItem *MainWindow::*member) { this->*member = createItem(row, m_canvas); },
                [&](auto member) {
                    using Control =
                        std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
                    this->*member = static_cast<Control *>(createWidget(row, parent));
                },
            },
            row.member);
    }
    nZrcadleniDvouRozhrani->setAlignment(Qt::AlignCenter);
    labKlepnuti->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // By tab index: hidden controls are skipped by the toolkit, and frames and the
    // canvas's labels never take the focus. An option group is built in the same order,
    // the order its arrow keys follow.
    std::vector<const ControlRow *> byTabIndex;
    for (const ControlRow &row : rows)
        if (row.tabIndex >= 0 && row.kind != Kind::Label && row.kind != Kind::Frame)
            byTabIndex.push_back(&row);
    std::sort(byTabIndex.begin(), byTabIndex.end(),
              [](const ControlRow *a, const ControlRow *b) { return a->tabIndex < b->tabIndex; });
    QWidget *previous = nullptr;
    readFromFirstTabStop(findChild<QWidget *>(QString::fromUtf8(byTabIndex.front()->name)));
    for (const ControlRow *row : byTabIndex) {
        auto *widget = findChild<QWidget *>(QString::fromUtf8(row->name));
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
        if (row->option) {
            QGroupBox *frame = this->*row->frame;
            auto *&group = m_optionGroups[frame];
            if (!group)
                group = new QButtonGroup(frame);
            group->addButton(static_cast<QRadioButton *>(widget), int(*row->option));
        }
    }
}
