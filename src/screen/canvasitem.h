// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QRect>

#include <functional>

class CanvasWidget;
class QPainter;

// A label or picture that lies on the canvas's own layer rather than above it: strokes
// drawn where it is shown paint over it, and showing it paints its opaque rectangle over
// the strokes beneath. Hiding it leaves plain background where it stood.
class CanvasItem : public QObject
{
    Q_OBJECT

public:
    CanvasItem(const QString &name, const QRect &geometry, CanvasWidget *canvas);

    void setText(const QString &text, const QFont &font, Qt::Alignment alignment);
    void setAlignment(Qt::Alignment alignment);
    // The picture is made for the device pixel ratio the canvas has when it is painted.
    using PictureMaker = std::function<QImage(qreal devicePixelRatio)>;
    void setPicture(PictureMaker picture);

    QRect geometry() const { return m_geometry; }
    QString text() const { return m_text; }
    bool isVisible() const { return m_visible; }

    void show();
    void hide();
    // Shows the item with its top-left corner at the given place, moving it if need be.
    void showAt(const QPoint &topLeft);

private:
    void paint();

    CanvasWidget *m_canvas = nullptr;
    QRect m_geometry;
    bool m_visible = false;
    QString m_text;
    QFont m_font;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    PictureMaker m_picture;
};
