// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "picturefiles.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class CurveLog;
class QAction;
class QPoint;
class QWidget;

// The three ways out in the window: Ctrl+S saves the picture, Ctrl+C copies it, Ctrl+E
// saves the curves as CSV; the same three in a context menu on the canvas. Each goes
// through the window's input gate, so one given during a run acts after it, in order.
class PictureExport : public QObject
{
    Q_OBJECT

public:
    using Gate = std::function<void(std::function<void()>)>;
    // Asks where to save; empty when the person cancels.
    using FileChooser = std::function<QString(const QString &title, const QString &suggested,
                                              const QString &filter)>;

    PictureExport(QWidget &window, QWidget &canvas, const CurveLog &curves, Gate gate);

    void savePicture();
    void copyPicture();
    void saveCurves();

    // A file dialog unless replaced (tests answer it themselves).
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // The window's own items, listed in the canvas's menu after the ways out.
    void addMenuAction(QAction *action) { m_windowActions.append(action); }

private:
    void showContextMenu(const QPoint &position);
    // Asks where, then writes the file whole or says why it could not.
    void saveAs(const QString &title, const QString &suffix, const QString &filter,
                const std::function<PictureFiles::Content(const QString &)> &content);
    void reportFailure(const QString &error);

    QWidget &m_window;
    QWidget &m_canvas;
    const CurveLog &m_curves;
    Gate m_gate;
    FileChooser m_chooseFile;
    QList<QAction *> m_windowActions;
};
