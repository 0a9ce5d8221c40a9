// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "canvas/canvas.h"
#include "deletequestion.h"
#include "run/curvelog.h"
#include "run/runendview.h"
#include "screen/windowpacer.h"
#include "settings/settingshandlers.h"
#include "settings/settingsview.h"
#include "windowsettingsstore.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <memory>

class CanvasItem;
class CurveExplorer;
class InputJournal;
class PictureExport;
class QAction;
class Tone;
class QAbstractButton;
class QButtonGroup;
class CanvasWidget;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The one window, Quorvane: its controls, the canvas under them, and the wiring of
// their events to the settings handlers and the run.
class MainWindow : public QWidget, private SettingsView, private RunEndView
{
    Q_OBJECT

public:
    static constexpr QSize ClientSize = PictureSize;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    CanvasWidget *canvas() const { return m_canvas; }
    // The readout of the numbers behind the curves and the cursor that explores them.
    CurveExplorer *explorer() const { return m_explorer; }
    bool isRunning() const;
    // The points of the curves the canvas shows now.
    const CurveLog &curves() const { return m_curves; }
    // Runs from now on are paced by this pacer instead of the window's own.
    void setPacer(std::unique_ptr<StepPacer> pacer) { m_pacer = std::move(pacer); }

    // Input that reaches a handler while a run lasts, or while input given during one is
    // still to be replayed, waits for its turn.
    void whenIdle(std::function<void()> action);

    // As a person's clicks would: the handlers run, and during a run they wait for its end.
    void clickOption(Option option);
    void moveScrollBar(int value);
    void pressStart();

    // The sound of the curve: a run plays its tone, the explore cursor the pitch of its row.
    void setSoundOn(bool on);
    bool isSoundOn() const { return m_soundOn; }

    // Full screen on the window's screen at the largest zoom that fits it (or at the zoom the
    // window has), the picture centred on the window's grey; F11 toggles, and back from it
    // the window has its place, size and zoom from before.
    void showFullScreenCentred(bool largestZoom = true);
    void toggleFullScreen();

    // The window's whole zoom on its screen, the desktop's scaling included: a quarter step
    // up or down (Ctrl+Plus, Ctrl+Minus) from 1 to 4, or the desktop's own scale (Ctrl+0). A zoom
    // too large for the screen is lowered to the largest that fits; the window keeps its top-left
    // corner where it can.
    void stepZoom(int steps);
    void setZoom(double whole);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The controls, their tab order and their option groups, from the window's table.
    void createControls();
    void wireEvents();

    void optionClicked(Option option);
    QAbstractButton *optionButton(Option option) const;
    void runReflection();
    void placeContent();
    void wireExplorer(PictureExport &exporter);
    void wireZoom(PictureExport &exporter);
    // After Qt's factor changed: the window takes its size in device pixels at the new ratio
    // and everything on it is drawn again.
    void takeNewRatio(const QRect &geometry);

    void selectOption(Option option) override;
    void hideThicknessPicture() override;
    void showThicknessPicture() override;
    void showLabel(Label label, double left, double top) override;

    CanvasWidget *m_canvas = nullptr;
    // The window's client area before full screen, given back when it ends.
    QRect m_normalGeometry;
    // The zoom's factor before full screen, on top of the desktop's; 0 while there is none.
    double m_normalFactor = 0;

    QLineEdit *nRelativeRngth = nullptr;
    QScrollBar *HScroll1 = nullptr;
    QLineEdit *nZrcadleniDvouRozhrani = nullptr;
    QGroupBox *frmAnimace = nullptr;
    QRadioButton *nPomalá = nullptr;
    QRadioButton *opPomalší = nullptr;
    QRadioButton *opRychlá = nullptr;
    QLineEdit *nSpomaleni = nullptr;
    QGroupBox *frmPosunZdroje = nullptr;
    QRadioButton *op50 = nullptr;
    QRadioButton *op0 = nullptr;
    QLineEdit *nPosunZdroje = nullptr;
    QGroupBox *frmRelDelka = nullptr;
    QRadioButton *op15D = nullptr;
    QRadioButton *op1D = nullptr;
    QRadioButton *op05D = nullptr;
    QPushButton *cmdKonec = nullptr;
    QGroupBox *frmFrekvence = nullptr;
    QRadioButton *op15 = nullptr;
    QRadioButton *op1 = nullptr;
    QRadioButton *op05 = nullptr;
    QGroupBox *frmBarva1 = nullptr;
    QRadioButton *opModra = nullptr;
    QRadioButton *opzelená = nullptr;
    QRadioButton *opCervena = nullptr;
    QRadioButton *opCerna = nullptr;
    QLineEdit *nBarva = nullptr;
    QLineEdit *nStartuje = nullptr;
    QLineEdit *nFrekvence = nullptr;
    QLineEdit *nNasob = nullptr;
    QPushButton *cmdStart = nullptr;
    CanvasItem *imThickness = nullptr;
    CanvasItem *labKlepnuti = nullptr;
    CanvasItem *labDetektor = nullptr;
    CanvasItem *labZdroj = nullptr;
    CanvasItem *labOdrazovost = nullptr;

    std::unique_ptr<WindowSettingsStore> m_settings;
    std::unique_ptr<SettingsHandlers> m_handlers;
    std::unique_ptr<StepPacer> m_pacer;
    std::unique_ptr<DeleteQuestion> m_question;
    CurveLog m_curves;

    InputJournal *m_journal = nullptr;
    CurveExplorer *m_explorer = nullptr;
    // Opened when the sound is first switched on, so that a quiet program never opens one.
    std::unique_ptr<Tone> m_tone;
    bool m_soundOn = false;
    QAction *m_soundItem = nullptr;
    QHash<QGroupBox *, QButtonGroup *> m_optionGroups;
};
