// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "classicstyle.h"

#include <QDialog>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSlider>
#include <QWidget>

namespace {

// The classic circle: it fits the 13-pixel height the smallest options have.
constexpr int IndicatorSize = 12;
constexpr int TitleLeft = 8;
constexpr int TitlePadding = 2;
// The etched line's two shades, as on the classic grey desktop; a raised edge adds the
// darkest and a light one.
const QColor Shadow(128, 128, 128);
const QColor Highlight(255, 255, 255);
const QColor DarkShadow(0, 0, 0);
const QColor Light(223, 223, 223);

// Black stands out at least 3:1 from every background a control has: 5.25:1 from the
// red options, more from the grey, green and light blue ones.
const QColor FocusInk(0, 0, 0);
constexpr int FocusWidth = 2;
// Inside the button's raised edge, which would otherwise hide half of the ring.
constexpr int ButtonFocusInset = 3;

// A solid ring along the inside of the rectangle, whole on every side; in logical pixels,
// so twice as many device pixels at a scale of 2. Controls overlap by a pixel here and
// there (the title lies over the scroll bar's top row), so the ring keeps to the part of
// the control that shows.
QRect ringRect(QRect rect, const QWidget *widget)
{
    const QRegion shown = widget ? widget->visibleRegion() : QRegion();
    const auto whole = [&shown](const QRect &line) {
        return QRegion(line).subtracted(shown).isEmpty();
    };
    // A side moves in while its line shows only in part; the corners are left out of the
    // test, or a covered end column would take the top and bottom rows with it.
    for (bool moved = !shown.isEmpty(); moved;) {
        moved = false;
        if (rect.height() <= 2 * FocusWidth || rect.width() <= 2 * FocusWidth)
            break;
        const QRect across(rect.left() + 1, 0, rect.width() - 2, 1);
        const QRect down(0, rect.top() + 1, 1, rect.height() - 2);
        if (!whole(across.translated(0, rect.top()))) {
            rect.setTop(rect.top() + 1);
            moved = true;
        } else if (!whole(across.translated(0, rect.bottom()))) {
            rect.setBottom(rect.bottom() - 1);
            moved = true;
        } else if (!whole(down.translated(rect.left(), 0))) {
            rect.setLeft(rect.left() + 1);
            moved = true;
        } else if (!whole(down.translated(rect.right(), 0))) {
            rect.setRight(rect.right() - 1);
            moved = true;
        }
    }
    return rect;
}

void drawFocusRing(QPainter *painter, QRect rect, const QWidget *widget)
{
    rect = ringRect(rect, widget);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), FocusWidth), FocusInk);
    painter->fillRect(QRect(rect.left(), rect.bottom() - FocusWidth + 1, rect.width(), FocusWidth),
                      FocusInk);
    painter->fillRect(QRect(rect.left(), rect.top(), FocusWidth, rect.height()), FocusInk);
    painter->fillRect(QRect(rect.right() - FocusWidth + 1, rect.top(), FocusWidth, rect.height()),
                      FocusInk);
    painter->restore();
}

// A push button's classic face: flat in its button colour, inside a raised edge two pixels
// wide, light above and left, dark below and right; pressed, the edge turns the other way.
void drawClassicButton(QPainter *painter, const QStyleOption *option)
{
    const QRect r = option->rect;
    const bool pressed = option->state & (QStyle::State_Sunken | QStyle::State_On);
    const auto edge = [painter](const QRect &rect, const QColor &topLeft,
                                const QColor &bottomRight) {
        painter->setPen(topLeft);
        painter->drawLine(rect.topLeft(), rect.topRight() - QPoint(1, 0));
        painter->drawLine(rect.topLeft(), rect.bottomLeft() - QPoint(0, 1));
        painter->setPen(bottomRight);
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->drawLine(rect.topRight(), rect.bottomRight());
    };
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillRect(option->rect, option->palette.button());
    edge(r, pressed ? DarkShadow : Highlight, pressed ? Highlight : DarkShadow);
    edge(r.adjusted(1, 1, -1, -1), pressed ? Shadow : Light, pressed ? Light : Shadow);
    painter->restore();
}

// The option without the base style's own focus mark, which is too faint to see.
template <typename Option> Option withoutFocus(const QStyleOption *option)
{
    Option plain(*static_cast<const Option *>(option));
    plain.state &= ~QStyle::State_HasFocus;
    return plain;
}

} // namespace

ClassicStyle::ClassicStyle(QStyle *base)
    : QProxyStyle(base ? base : QStyleFactory::create(QStringLiteral("Fusion")))
{}

int ClassicStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                              const QWidget *widget) const
{
    switch (metric) {
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return IndicatorSize;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int ClassicStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                            QStyleHintReturn *returnData) const
{
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QRect ClassicStyle::subElementRect(SubElement element, const QStyleOption *option,
                                   const QWidget *widget) const
{
    // An option's whole rectangle takes the click, its coloured box included, as a button's
    // does.
    if (element == SE_RadioButtonClickRect)
        return option->rect;
    // A text field draws its text, and the selection that the focus brings, over its panel;
    // kept off the edge, they leave the focus ring whole.
    if (element == SE_LineEditContents)
        return QProxyStyle::subElementRect(element, option, widget)
            .intersected(ringRect(option->rect, widget)
                             .adjusted(FocusWidth, FocusWidth, -FocusWidth, -FocusWidth));
    return QProxyStyle::subElementRect(element, option, widget);
}

void ClassicStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                 QPainter *painter, const QWidget *widget) const
{
    // The window's buttons; a dialog's keep the base style's, as the desktop's dialogs have.
    if (element == PE_PanelButtonCommand && widget && !qobject_cast<QDialog *>(widget->window())) {
        drawClassicButton(painter, option);
        return;
    }
    if (element == PE_PanelLineEdit && (option->state & State_HasFocus) &&
        qstyleoption_cast<const QStyleOptionFrame *>(option)) {
        const auto plain = withoutFocus<QStyleOptionFrame>(option);
        QProxyStyle::drawPrimitive(element, &plain, painter, widget);
        drawFocusRing(painter, option->rect, widget);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ClassicStyle::drawControl(ControlElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const
{
    if ((element == CE_PushButton || element == CE_RadioButton) &&
        (option->state & State_HasFocus) && qstyleoption_cast<const QStyleOptionButton *>(option)) {
        const auto plain = withoutFocus<QStyleOptionButton>(option);
        QProxyStyle::drawControl(element, &plain, painter, widget);
        const int inset = element == CE_PushButton ? ButtonFocusInset : 0;
        drawFocusRing(painter, option->rect.adjusted(inset, inset, -inset, -inset), widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void ClassicStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                      QPainter *painter, const QWidget *widget) const
{
    if (control == CC_ScrollBar && (option->state & State_HasFocus) &&
        qstyleoption_cast<const QStyleOptionSlider *>(option)) {
        const auto plain = withoutFocus<QStyleOptionSlider>(option);
        QProxyStyle::drawComplexControl(control, &plain, painter, widget);
        drawFocusRing(painter, option->rect, widget);
        return;
    }
    const auto *group = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || !group || (group->subControls & SC_GroupBoxCheckBox)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }

    // An etched line, dark with light below and right of it, whose top runs through the
    // middle of the title; the title is cut out of it.
    const QFontMetrics metrics = group->fontMetrics;
    const QRect frame = group->rect.adjusted(0, metrics.height() / 2, -1, -1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Shadow);
    painter->drawRect(frame.adjusted(0, 0, -1, -1));
    painter->setPen(Highlight);
    painter->drawRect(frame.adjusted(1, 1, 0, 0));

    if (!group->text.isEmpty()) {
        const QRect title(group->rect.left() + TitleLeft, group->rect.top(),
                          metrics.horizontalAdvance(group->text) + 2 * TitlePadding,
                          metrics.height());
        painter->fillRect(title, group->palette.window());
        painter->setPen(group->palette.color(QPalette::WindowText));
        painter->drawText(title, Qt::AlignCenter | Qt::TextShowMnemonic, group->text);
    }
    painter->restore();
}
