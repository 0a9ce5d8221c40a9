// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>

class CanvasWidget;
class CurveLog;
class QWidget;

// The numbers behind the picture, row by row, for a person at rest after a run: the pointer
// over the plot shows the thickness of its row and each kept curve's probability there, and
// exploring puts a cursor on the plot that the keys move row by row. What it shows lies on a
// layer of its own above the canvas, so that not a pixel of the picture changes.
class CurveExplorer : public QObject
{
    Q_OBJECT

public:
    static constexpr int LastRow = 300;

    // atRest says whether the window takes input now: no run, no question.
    CurveExplorer(CanvasWidget &canvas, const CurveLog &curves, std::function<bool()> atRest);

    // Puts the cursor on row 0 and gives the canvas the keyboard: Down and Up move one row,
    // Page Down and Page Up ten, Home and End to the first and last; Escape or Tab leave.
    void explore();
    // Takes the cursor away and gives the focus back where it was before.
    void leave();
    // Takes away whatever is shown, as when a run begins, and leaves the focus where it is.
    void hide();

    bool isExploring() const { return m_exploring; }
    // The row whose numbers are shown now, by the pointer or the cursor.
    std::optional<int> shownRow() const { return m_shownRow; }
    // What is shown now; empty when nothing is.
    QString readout() const;

    // The rectangle of the plot, in canvas pixels: rows 0 to 300 from the top.
    static QRectF plotArea();
    // The row under a point of the canvas, if it lies on the plot.
    static std::optional<int> rowAt(const QPointF &point);
    // "thickness 40: run 1 199,9 · run 2 112,5", numbers in the locale's way.
    static QString readout(const CurveLog &curves, int row, const QLocale &locale);

signals:
    // The cursor has come to a row, or moved to another.
    void cursorMoved(int row);
    // Exploring has begun or ended.
    void exploringChanged(bool exploring);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showRow(std::optional<int> row, const QPoint &near);
    void moveCursor(int row);
    bool keyPressed(int key, Qt::KeyboardModifiers modifiers);
    void stopExploring(bool giveFocusBack);

    CanvasWidget &m_canvas;
    const CurveLog &m_curves;
    std::function<bool()> m_atRest;
    QWidget *m_layer = nullptr;
    std::optional<int> m_shownRow;
    bool m_exploring = false;
    QPointer<QWidget> m_focusBefore;
};
