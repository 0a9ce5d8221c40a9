// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "curveexplorer.h"

#include "canvaswidget.h"
#include "run/curvelog.h"
#include "run/scene.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The layer above the canvas: a cursor line across the plot and the readout's box. It takes
// no input and is no part of what a screen reader finds in the canvas.
class ReadoutLayer : public QWidget
{
public:
    explicit ReadoutLayer(QWidget *canvas)
        : QWidget(canvas)
    {
        setObjectName(QStringLiteral("curveReadout"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(canvas->rect());
    }

    void showReadout(const QString &text, const QPoint &near, std::optional<int> cursorRow)
    {
        m_text = text;
        m_near = near;
        m_cursorRow = cursorRow;
        setGeometry(parentWidget()->rect());
        update();
        show();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRectF plot = CurveExplorer::plotArea();
        if (m_cursorRow) {
            const int y = int(std::floor(plot.top())) + *m_cursorRow;
            painter.setPen(QPen(Qt::darkGray, 1, Qt::DotLine));
            painter.drawLine(int(plot.left()), y, int(plot.right()), y);
        }
        const QFontMetrics metrics(font());
        const QSize size = metrics.size(Qt::TextSingleLine, m_text) + QSize(8, 4);
        // Beside the point, below and to the right, turned back inside the canvas.
        QRect box(m_near + QPoint(14, 14), size);
        if (box.right() > width() - 2)
            box.moveRight(m_near.x() - 14);
        if (box.bottom() > height() - 2)
            box.moveBottom(m_near.y() - 6);
        box.moveLeft(std::max(box.left(), 1));
        painter.setPen(Qt::black);
        painter.setBrush(QColor(255, 255, 225));
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, m_text);
    }

private:
    QString m_text;
    QPoint m_near;
    std::optional<int> m_cursorRow;
};

} // namespace

CurveExplorer::CurveExplorer(CanvasWidget &canvas, const CurveLog &curves,
                             std::function<bool()> atRest)
    : QObject(&canvas)
    , m_canvas(canvas)
    , m_curves(curves)
    , m_atRest(std::move(atRest))
    , m_layer(new ReadoutLayer(&canvas))
{
    setObjectName(QStringLiteral("curveExplorer"));
    m_layer->hide();
    m_canvas.setMouseTracking(true);
    m_canvas.installEventFilter(this);
}

QRectF CurveExplorer::plotArea()
{
    // Where the plot lies does not depend on the settings a run reads.
    const Scene scene = Scene::compute(1, 1, 0);
    return QRectF(QPointF(scene.GraphLeft, scene.GraphTop),
                  QPointF(scene.GraphRight, scene.GraphTop + LastRow));
}

std::optional<int> CurveExplorer::rowAt(const QPointF &point)
{
    const QRectF plot = plotArea();
    if (point.x() < plot.left() || point.x() > plot.right())
        return std::nullopt;
    // A point of row k is centred on the plot's top plus k, half a pixel down.
    const int row = int(std::floor(point.y() - std::floor(plot.top())));
    if (row < 0 || row > LastRow)
        return std::nullopt;
    return row;
}

QString CurveExplorer::readout(const CurveLog &curves, int row, const QLocale &locale)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    QStringList values;
    for (const CurveRow &point : curves.rows())
        if (point.Point.Thickness == row)
            values.append(
                QStringLiteral("run %1 %2")
                    .arg(numbers.toString(point.Run), numbers.toString(point.Point.PlotX, 'f', 1)));
    const QString thickness = QStringLiteral("thickness %1").arg(numbers.toString(row));
    if (values.isEmpty())
        return thickness + QStringLiteral(": no curve yet");
    return thickness + QStringLiteral(": ") + values.join(QStringLiteral(" · "));
}

QString CurveExplorer::readout() const
{
    return m_shownRow ? readout(m_curves, *m_shownRow, QLocale()) : QString();
}

void CurveExplorer::showRow(std::optional<int> row, const QPoint &near)
{
    m_shownRow = row;
    if (!row) {
        m_layer->hide();
        return;
    }
    static_cast<ReadoutLayer *>(m_layer)->showReadout(readout(), near,
                                                      m_exploring ? row : std::nullopt);
}

void CurveExplorer::explore()
{
    if (!m_exploring) {
        QWidget *focused = QApplication::focusWidget();
        m_focusBefore = focused != &m_canvas ? focused : nullptr;
        m_exploring = true;
        emit exploringChanged(true);
    }
    m_canvas.setFocus(Qt::OtherFocusReason);
    moveCursor(0);
}

void CurveExplorer::moveCursor(int row)
{
    row = std::clamp(row, 0, LastRow);
    const QRectF plot = plotArea();
    showRow(row, QPoint(int(plot.left()) + 8, int(std::floor(plot.top())) + row));
    emit cursorMoved(row);
}

void CurveExplorer::leave()
{
    stopExploring(true);
}

void CurveExplorer::hide()
{
    stopExploring(false);
    showRow(std::nullopt, {});
}

void CurveExplorer::stopExploring(bool giveFocusBack)
{
    if (!m_exploring)
        return;
    m_exploring = false;
    showRow(std::nullopt, {});
    const QPointer<QWidget> before = std::exchange(m_focusBefore, nullptr);
    if (giveFocusBack && m_canvas.hasFocus()) {
        if (before && before->isVisible() && before->isEnabled())
            before->setFocus(Qt::OtherFocusReason);
        else
            m_canvas.clearFocus();
    }
    emit exploringChanged(false);
}

bool CurveExplorer::keyPressed(int key, Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) && key != Qt::Key_Backtab)
        return false;
    const int row = m_shownRow.value_or(0);
    switch (key) {
    case Qt::Key_Down:
        moveCursor(row + 1);
        return true;
    case Qt::Key_Up:
        moveCursor(row - 1);
        return true;
    case Qt::Key_PageDown:
        moveCursor(row + 10);
        return true;
    case Qt::Key_PageUp:
        moveCursor(row - 10);
        return true;
    case Qt::Key_Home:
        moveCursor(0);
        return true;
    case Qt::Key_End:
        moveCursor(LastRow);
        return true;
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        leave();
        return true;
    default:
        return false;
    }
}

bool CurveExplorer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_canvas)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        if (!m_exploring) {
            const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
            showRow(m_atRest() ? rowAt(at) : std::nullopt, at);
        }
        break;
    case QEvent::Leave:
        if (!m_exploring)
            showRow(std::nullopt, {});
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!m_exploring || !m_canvas.hasFocus())
            break;
        if (event->type() == QEvent::ShortcutOverride) {
            // The cursor's keys are the cursor's while it is on the plot.
            const bool own = key->key() == Qt::Key_Escape || key->key() == Qt::Key_Home ||
                             key->key() == Qt::Key_End;
            if (own && key->modifiers() == Qt::NoModifier)
                event->accept();
            break;
        }
        return keyPressed(key->key(), key->modifiers());
    }
    case QEvent::FocusOut: {
        // A click elsewhere ends exploring; a menu or another window coming up does not.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (m_exploring && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            stopExploring(false);
        break;
    }
    default:
        break;
    }
    return false;
}
