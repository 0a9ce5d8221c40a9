// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictureexport.h"

#include "run/curvelog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QWidget>

namespace {

struct Way {
    const char *text;
    QKeyCombination key;
    void (PictureExport::*action)();
};

// The three ways out, as the menu lists them and the keys give them.
const Way Ways[] = {
    {QT_TRANSLATE_NOOP("PictureExport", "Save picture…"), Qt::CTRL | Qt::Key_S,
     &PictureExport::savePicture},
    {QT_TRANSLATE_NOOP("PictureExport", "Copy picture"), Qt::CTRL | Qt::Key_C,
     &PictureExport::copyPicture},
    {QT_TRANSLATE_NOOP("PictureExport", "Save curves as CSV…"), Qt::CTRL | Qt::Key_E,
     &PictureExport::saveCurves},
};

} // namespace

PictureExport::PictureExport(QWidget &window, QWidget &canvas, const CurveLog &curves, Gate gate)
    : QObject(&window)
    , m_window(window)
    , m_canvas(canvas)
    , m_curves(curves)
    , m_gate(std::move(gate))
    , m_chooseFile([this](const QString &title, const QString &suggested, const QString &filter) {
        QFileDialog dialog(&m_window, title, suggested, filter);
        dialog.setObjectName(QStringLiteral("saveDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QFileInfo(suggested).suffix());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    })
{
    setObjectName(QStringLiteral("pictureExport"));
    for (const Way &way : Ways) {
        auto *shortcut = new QShortcut(QKeySequence(way.key), &m_window);
        connect(shortcut, &QShortcut::activated, this,
                [this, action = way.action] { m_gate([this, action] { (this->*action)(); }); });
    }
    // On the canvas only: the controls lie above it and keep their own menus, or none.
    m_canvas.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_canvas, &QWidget::customContextMenuRequested, this, &PictureExport::showContextMenu);
    // The keyboard's way to the same menu, whichever control has the focus: the canvas never
    // takes it. The menu opens in the middle of the canvas, clear of the controls.
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Menu), Qt::SHIFT | Qt::Key_F10}) {
        auto *shortcut = new QShortcut(QKeySequence(key), &m_window);
        connect(shortcut, &QShortcut::activated, this,
                [this] { m_gate([this] { showContextMenu(m_canvas.rect().center()); }); });
    }
}

void PictureExport::showContextMenu(const QPoint &position)
{
    QMenu menu(&m_canvas);
    menu.setObjectName(QStringLiteral("canvasMenu"));
    for (const Way &way : Ways) {
        QAction *item = menu.addAction(tr(way.text));
        item->setShortcut(QKeySequence(way.key));
        // Desktops may hide shortcuts in context menus; this menu is where they are learnt.
        item->setShortcutVisibleInContextMenu(true);
        connect(item, &QAction::triggered, this,
                [this, action = way.action] { m_gate([this, action] { (this->*action)(); }); });
    }
    if (!m_windowActions.isEmpty()) {
        menu.addSeparator();
        menu.addActions(m_windowActions);
    }
    menu.exec(m_canvas.mapToGlobal(position));
}

void PictureExport::savePicture()
{
    // The picture as it was when asked for, before the dialog covers the window.
    const QImage picture = PictureFiles::windowPicture(m_window);
    saveAs(tr("Save picture"), QStringLiteral("png"), tr("PNG image (*.png)"),
           [&picture](const QString &path) { return PictureFiles::pictureFile(picture, path); });
}

void PictureExport::copyPicture()
{
    QApplication::clipboard()->setImage(PictureFiles::windowPicture(m_window));
}

void PictureExport::saveCurves()
{
    if (m_curves.rows().empty()) {
        QMessageBox::information(&m_window, QCoreApplication::applicationName(),
                                 tr("There are no curves to save yet: press Start first."));
        return;
    }
    saveAs(tr("Save curves as CSV"), QStringLiteral("csv"), tr("CSV file (*.csv)"),
           [this](const QString &path) {
               return PictureFiles::Content{path, m_curves.toCsv(), {}};
           });
}

void PictureExport::saveAs(const QString &title, const QString &suffix, const QString &filter,
                           const std::function<PictureFiles::Content(const QString &)> &content)
{
    const QString path = m_chooseFile(title, PictureFiles::suggestedPath(suffix), filter);
    if (path.isEmpty())
        return;
    QString error;
    if (!PictureFiles::writeFiles({content(path)}, &error, PictureFiles::Readers::MustBeThere))
        reportFailure(error);
}

void PictureExport::reportFailure(const QString &error)
{
    QMessageBox::warning(&m_window, QCoreApplication::applicationName(),
                         error.left(1).toUpper() + error.mid(1) + u'.');
}
