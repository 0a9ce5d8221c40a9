#include "classicstyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>

namespace {

// The classic circle: it fits the 13-pixel height the smallest options have.
constexpr int IndicatorSize = 12;
constexpr int TitleLeft = 8;
constexpr int TitlePadding = 2;
// The etched line's two shades, as on the classic grey desktop.
const QColor Shadow(128, 128, 128);
const QColor Highlight(255, 255, 255);

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

void ClassicStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                      QPainter *painter, const QWidget *widget) const
{
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
