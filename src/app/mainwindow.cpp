// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow.h"

#include "about.h"
#include "aboutbox.h"
#include "access/accessiblecontrols.h"
#include "access/canvasaccessibility.h"
#include "access/curvedescription.h"
#include "export/pictureexport.h"
#include "fonts.h"
#include "input/inputjournal.h"
#include "input/keyboardnavigation.h"
#include "run/reflectionrun.h"
#include "run/scene.h"
#include "screen/canvasitem.h"
#include "screen/canvaswidget.h"
#include "screen/curveexplorer.h"
#include "screenzoom.h"
#include "settings/zoomrange.h"
#include "sound/tone.h"

#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// The pitch of a plotted point: the curve's greatest probability, where the two arrows
// point the same way, at the top.
double pitchOfPoint(const PlottedPoint &point)
{
    const Scene scene = Scene::compute(point.RelativeFrequency, point.RelativeLength, 0);
    const double longest = scene.FrontArrowLength + scene.BackArrowLength;
    return pitchOf(point.PlotX, 0.02 * longest * longest);
}

// Keeps the curves and announces each run once the question has told its number; with the
// sound on, each point plotted sets the tone's pitch.
class AnnouncingLog : public PlotRecorder
{
public:
    AnnouncingLog(CurveLog &log, QWidget &window, Tone *tone)
        : m_log(log)
        , m_window(window)
        , m_tone(tone)
    {
        m_sayStart.setSingleShot(true);
        QObject::connect(&m_sayStart, &QTimer::timeout, &m_window, [this] { sayStart(); });
    }

    // The start is said once the run's first step is on the screen: showing a notification
    // asks the X server where the pointer is and waits for the answer, which kept that step
    // off the screen for several milliseconds behind the click.
    void runBegins(bool curvesWiped) override
    {
        m_log.runBegins(curvesWiped);
        m_started = QStringLiteral("Run %1 started").arg(m_log.runs());
        m_sayStart.start(0);
    }
    // Says the start now if no event was served since, so that it comes before the end.
    void sayStart()
    {
        m_sayStart.stop();
        if (!m_started.isEmpty())
            CanvasAccessibility::announce(m_window, std::exchange(m_started, QString()));
    }
    void pointPlotted(const PlottedPoint &point) override
    {
        m_log.pointPlotted(point);
        if (m_tone)
            m_tone->play(pitchOfPoint(point));
    }

private:
    CurveLog &m_log;
    QWidget &m_window;
    Tone *m_tone;
    QTimer m_sayStart;
    QString m_started;
};

void describeSlowDown(QScrollBar &scrollBar)
{
    const QString text = QStringLiteral("Slow-down %1, from %2 at the left, the fastest, to %3 at "
                                        "the right, the slowest; takes effect at the next run")
                             .arg(scrollBar.value())
                             .arg(scrollBar.minimum())
                             .arg(scrollBar.maximum());
    scrollBar.setToolTip(text);
    scrollBar.setAccessibleDescription(text);
}
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
{
    const QString name = QString::fromUtf8(About::Name);
    setObjectName(name);
    setWindowTitle(*About::HomePage
                       ? name + QStringLiteral(" - ") + QString::fromUtf8(About::HomePage)
                       : name);
    setFont(Fonts::standard());
    setFixedSize(ClientSize);

    m_journal = new InputJournal(this);
    installAccessibleControls(*this, *m_journal);
    m_question = std::make_unique<DeleteQuestion>(this, m_journal);
    // Created first, so that every control stays above it.
    m_canvas = new CanvasWidget(ClientSize, this);
    createControls();
    CanvasAccessibility::setUp(*m_canvas, describeCurves(m_curves, QLocale()));

    m_settings = std::make_unique<WindowSettingsStore>(
        std::array{nStartuje, nFrekvence, nNasob, nPosunZdroje, nBarva, nSpomaleni});
    m_handlers =
        std::make_unique<SettingsHandlers>(*m_settings, static_cast<SettingsView &>(*this));
    m_pacer = std::make_unique<WindowPacer>(*m_canvas);
    wireEvents();
    auto *exports =
        new PictureExport(*this, *m_canvas, m_curves,
                          [this](std::function<void()> action) { whenIdle(std::move(action)); });
    wireExplorer(*exports);
    wireZoom(*exports);
    auto *about = new QAction(tr("About %1").arg(name), this);
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this,
            [this] { whenIdle([this] { AboutBox::show(this); }); });
    exports->addMenuAction(about);

    m_handlers->startUp();
    cmdStart->setFocus();
}

bool MainWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    // The toolkit shows the focus only once a key has moved it, and forgets that on
    // activation; a keyboard user should see where Start's focus is from the start.
    if (event->type() == QEvent::WindowActivate)
        setAttribute(Qt::WA_KeyboardFocusChange);
    // On another screen the zoom may no longer fit: it is lowered to the largest that does,
    // once the move is over and no run is on.
    if (event->type() == QEvent::ScreenChangeInternal && isVisible())
        QTimer::singleShot(0, this, [this] {
            whenIdle([this] {
                if (!isFullScreen())
                    setZoom(devicePixelRatioF());
            });
        });
    return handled;
}

MainWindow::~MainWindow() = default;

void MainWindow::wireEvents()
{
    for (QButtonGroup *group : std::as_const(m_optionGroups))
        connect(group, &QButtonGroup::idClicked, this,
                [this](int id) { whenIdle([this, id] { optionClicked(Option(id)); }); });
    new KeyboardNavigation(this);

    describeSlowDown(*HScroll1);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { describeSlowDown(*HScroll1); });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        whenIdle([this, value] { m_handlers->scrollBarChanged(value); });
    });
    connect(cmdStart, &QPushButton::clicked, this,
            [this] { whenIdle([this] { runReflection(); }); });
    connect(cmdKonec, &QPushButton::clicked, this, [this] { whenIdle([this] { close(); }); });
}

void MainWindow::wireExplorer(PictureExport &exporter)
{
    m_explorer = new CurveExplorer(*m_canvas, m_curves, [this] {
        return !m_journal->isHoldingInput() && !QApplication::activeModalWidget();
    });
    const auto explore = [this] { whenIdle([this] { m_explorer->explore(); }); };
    // The menu's item shows the key; the key itself works wherever the focus is.
    auto *item = new QAction(tr("Explore the curves"), this);
    item->setObjectName(QStringLiteral("exploreCurves"));
    item->setShortcut(QKeySequence(Qt::Key_E));
    item->setShortcutVisibleInContextMenu(true);
    connect(item, &QAction::triggered, this, explore);
    exporter.addMenuAction(item);
    connect(new QShortcut(QKeySequence(Qt::Key_E), this), &QShortcut::activated, this, explore);

    const auto tellReaders = [this] {
        CanvasAccessibility::explore(*m_canvas,
                                     m_explorer->isExploring() ? m_explorer->readout() : QString(),
                                     describeCurves(m_curves, QLocale()));
    };
    connect(m_explorer, &CurveExplorer::cursorMoved, this, tellReaders);
    connect(m_explorer, &CurveExplorer::exploringChanged, this, tellReaders);

    // The newest curve's pitch at the cursor's row.
    connect(m_explorer, &CurveExplorer::cursorMoved, this, [this](int row) {
        const auto &rows = m_curves.rows();
        const auto point = std::find_if(rows.rbegin(), rows.rend(), [row](const CurveRow &r) {
            return r.Point.Thickness == row;
        });
        if (isSoundOn() && point != rows.rend())
            m_tone->note(pitchOfPoint(point->Point));
    });

    m_soundItem = new QAction(tr("Sound of the curve"), this);
    m_soundItem->setObjectName(QStringLiteral("soundOfTheCurve"));
    m_soundItem->setCheckable(true);
    connect(m_soundItem, &QAction::toggled, this, [this](bool on) {
        if (on != isSoundOn())
            whenIdle([this, on] { setSoundOn(on); });
    });
    exporter.addMenuAction(m_soundItem);
}

void MainWindow::wireZoom(PictureExport &exporter)
{
    struct Step {
        const char *name;
        const char *text;
        int steps;
        QList<QKeySequence> keys;
    };
    // Ctrl+= as well, for the keyboards whose plus needs Shift.
    const Step zooms[] = {
        {"zoomIn", "Zoom in", 1, {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal}},
        {"zoomOut", "Zoom out", -1, {Qt::CTRL | Qt::Key_Minus}},
        {"actualSize", "Actual size", 0, {Qt::CTRL | Qt::Key_0}},
    };
    for (const Step &zoom : zooms) {
        const auto act = [this, steps = zoom.steps] {
            whenIdle([this, steps] { stepZoom(steps); });
        };
        auto *item = new QAction(tr(zoom.text), this);
        item->setObjectName(QString::fromLatin1(zoom.name));
        item->setShortcuts(zoom.keys);
        item->setShortcutVisibleInContextMenu(true);
        connect(item, &QAction::triggered, this, act);
        exporter.addMenuAction(item);
        for (const QKeySequence &key : zoom.keys)
            connect(new QShortcut(key, this), &QShortcut::activated, this, act);
    }
}

void MainWindow::setSoundOn(bool on)
{
    // Kept once opened: Qt's sound server client lives on for the program's life.
    if (on && !m_tone)
        m_tone = openAudioTone();
    if (!on && m_tone)
        m_tone->stop();
    m_soundOn = on;
    m_soundItem->setChecked(on);
}

void MainWindow::whenIdle(std::function<void()> action)
{
    m_journal->whenIdle(std::move(action));
}

void MainWindow::optionClicked(Option option)
{
    m_handlers->optionChosen(option);
}

bool MainWindow::isRunning() const
{
    return m_journal->isRecording();
}

void MainWindow::clickOption(Option option)
{
    optionButton(option)->click();
}

void MainWindow::moveScrollBar(int value)
{
    HScroll1->setValue(value);
}

void MainWindow::pressStart()
{
    cmdStart->click();
}

void MainWindow::runReflection()
{
    m_journal->startRecording();
    m_explorer->hide();
    AnnouncingLog log(m_curves, *this, isSoundOn() ? m_tone.get() : nullptr);
    ReflectionRun(*m_settings, *m_canvas, *m_question, *m_pacer, static_cast<RunEndView &>(*this),
                  log)
        .run();
    log.sayStart();
    m_canvas->flush();
    if (isSoundOn())
        m_tone->stop();
    const QString description = describeCurves(m_curves, QLocale());
    CanvasAccessibility::describe(*m_canvas, description);
    CanvasAccessibility::announce(*this, description);
    m_journal->stopRecording();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The run draws on this window until it ends, so a close request waits for its turn.
    if (m_journal->isHoldingInput()) {
        m_journal->whenIdle([this] { close(); });
        event->ignore();
        return;
    }
    // What was given after Exit or a close request is never carried out.
    m_journal->clear();
    QWidget::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F11 && event->modifiers() == Qt::NoModifier) {
        toggleFullScreen();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::showFullScreenCentred(bool largestZoom)
{
    // The window's own place and zoom, kept here: the toolkit and the window manager remember
    // the geometry set just below, the screen's corner, which would put the frame's title bar
    // above the screen.
    QScreen *onScreen = screen();
    // A window started in full screen has neither, and comes back at the zoom it has.
    if (!isFullScreen() && isVisible()) {
        m_normalGeometry = geometry();
        if (onScreen)
            m_normalFactor = devicePixelRatioF() / ScreenZoom::desktopScale(*onScreen);
    }
    bool zoomed = false;
    if (largestZoom && onScreen) {
        const double now = devicePixelRatioF();
        const double whole =
            ScreenZoom::choose(std::nullopt, true, now,
                               QSizeF(ScreenZoom::availableDevicePixels(*onScreen)), ClientSize)
                .zoom;
        if (std::abs(whole - now) > 1e-9) {
            ScreenZoom::setFactor(whole / ScreenZoom::desktopScale(*onScreen));
            zoomed = true;
        }
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // Without a window manager nothing but the window itself makes it cover the screen.
    if (onScreen)
        setGeometry(onScreen->geometry());
    showFullScreen();
    if (zoomed && onScreen)
        takeNewRatio(onScreen->geometry());
}

void MainWindow::toggleFullScreen()
{
    if (!isFullScreen()) {
        showFullScreenCentred();
        return;
    }
    showNormal();
    const double before = devicePixelRatioF();
    if (m_normalFactor > 0)
        ScreenZoom::setFactor(m_normalFactor);
    setFixedSize(ClientSize);
    // The client area where it was, the frame around it; a window that started in full
    // screen has no place of its own yet and stands centred on the screen's free area, which
    // leaves its title bar room above it.
    QRect normal(m_normalGeometry.topLeft(), ClientSize);
    if (!m_normalGeometry.isValid() && screen()) {
        const QRect available = screen()->availableGeometry();
        const QSize spare = (available.size() - ClientSize).expandedTo(QSize(0, 0));
        normal.moveTopLeft(available.topLeft() + QPoint(spare.width() / 2, spare.height() / 2));
    }
    if (devicePixelRatioF() != before)
        takeNewRatio(normal);
    else
        setGeometry(normal);
}

void MainWindow::stepZoom(int steps)
{
    // Back to the desktop's own scale, as a browser's Ctrl+0 goes back to 100 %.
    double wanted = screen() ? ScreenZoom::desktopScale(*screen()) : ZoomRange::Smallest;
    if (steps != 0) {
        // From a zoom between the steps (a desktop's scale of 1.2, say) the first step goes
        // to the next one in that direction.
        const double at = devicePixelRatioF() / ZoomRange::Step;
        const double from = steps > 0 ? std::floor(at + 1e-6) : std::ceil(at - 1e-6);
        wanted =
            std::clamp((from + steps) * ZoomRange::Step, ZoomRange::Smallest, ZoomRange::Largest);
    }
    setZoom(wanted);
}

void MainWindow::setZoom(double whole)
{
    QScreen *onScreen = screen();
    if (!onScreen)
        return;
    const double now = devicePixelRatioF();
    const QRect screenArea = onScreen->geometry();
    const QSizeF available = isFullScreen() ? QSizeF(screenArea.size()) * now
                                            : QSizeF(ScreenZoom::availableDevicePixels(*onScreen));
    whole = ScreenZoom::choose(whole, false, now, available, ClientSize).zoom;
    if (std::abs(whole - now) < 1e-9)
        return;
    // Qt maps a screen's device pixels to its own units about the screen's top-left corner,
    // which both share.
    const QPointF origin = screenArea.topLeft();
    const auto toDevice = [origin](QPoint point, double ratio) {
        return origin + (QPointF(point) - origin) * ratio;
    };
    const QRect client = geometry(), frame = frameGeometry();
    const QPointF corner = toDevice(client.topLeft(), now);
    const QPointF frameBefore = (client.topLeft() - frame.topLeft()) * now;
    const QPointF frameAfter = (frame.bottomRight() - client.bottomRight()) * now;

    ScreenZoom::setFactor(whole / ScreenZoom::desktopScale(*onScreen));
    if (isFullScreen()) {
        takeNewRatio(onScreen->geometry());
        return;
    }
    const double ratio = devicePixelRatioF();
    // The frame within the available area, in device pixels, moved only as far as it must.
    const QRectF area(toDevice(onScreen->availableGeometry().topLeft(), ratio),
                      QSizeF(ScreenZoom::availableDevicePixels(*onScreen)));
    QRectF framed(corner - frameBefore,
                  QSizeF(ClientSize) * ratio +
                      QSizeF(frameBefore.x() + frameAfter.x(), frameBefore.y() + frameAfter.y()));
    framed.moveRight(std::min(framed.right(), area.right()));
    framed.moveBottom(std::min(framed.bottom(), area.bottom()));
    framed.moveLeft(std::max(framed.left(), area.left()));
    framed.moveTop(std::max(framed.top(), area.top()));
    const QPointF topLeft = origin + (framed.topLeft() + frameBefore - origin) / ratio;
    takeNewRatio(QRect(topLeft.toPoint(), ClientSize));
}

void MainWindow::takeNewRatio(const QRect &geometry)
{
    // Qt sends the window manager the window's least and greatest size in device pixels
    // only when they change, so a fixed size is given again at the new ratio.
    const bool fixed = minimumSize() == maximumSize();
    if (fixed) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    // Through the window itself: the widget's size in Qt's units may be what it was, and the
    // widget would then not pass it on.
    if (QWindow *window = windowHandle())
        window->setGeometry(geometry);
    else
        setGeometry(geometry);
    if (fixed)
        setFixedSize(geometry.size());
    if (backingStore())
        backingStore()->resize(geometry.size());
    // The picture at once, rather than at a paint that a platform may not send to a window
    // whose size in its own units stayed.
    m_canvas->setDevicePixelRatio(devicePixelRatioF());
    update();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeContent();
}

void MainWindow::placeContent()
{
    if (!m_canvas)
        return;
    // On a grid of 4 pixels, so that at every quarter step of zoom the canvas starts on a
    // whole device pixel and its image reaches the screen unscaled.
    const QSize spare = (size() - ClientSize).expandedTo(QSize(0, 0));
    const QPoint offset(spare.width() / 2 / 4 * 4, spare.height() / 2 / 4 * 4);
    // The canvas stands at the picture's corner, so its place is where the content is now.
    const QPoint by = offset - m_canvas->pos();
    if (by.isNull())
        return;
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            child->move(child->pos() + by);
}

QAbstractButton *MainWindow::optionButton(Option option) const
{
    for (QButtonGroup *group : m_optionGroups)
        if (QAbstractButton *button = group->button(int(option)))
            return button;
    Q_UNREACHABLE();
    return nullptr;
}

void MainWindow::selectOption(Option option)
{
    optionButton(option)->setChecked(true);
}

void MainWindow::hideThicknessPicture()
{
    imThickness->hide();
}

void MainWindow::showThicknessPicture()
{
    imThickness->show();
}

void MainWindow::showLabel(Label label, double left, double top)
{
    CanvasItem *item = label == Label::labOdrazovost ? labOdrazovost
                       : label == Label::labZdroj    ? labZdroj
                                                     : labDetektor;
    // Half pixels, as in a top of 170.5, round up.
    item->showAt(QPoint(qRound(left), qRound(top)));
}
