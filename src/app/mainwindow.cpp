#include "mainwindow.h"

#include "access/accessiblecontrols.h"
#include "access/canvasaccessibility.h"
#include "canvas/strokecolour.h"
#include "export/pictureexport.h"
#include "fonts.h"
#include "input/inputjournal.h"
#include "input/keyboardnavigation.h"
#include "run/reflectionrun.h"
#include "screen/canvasitem.h"
#include "screen/canvaswidget.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QPushButton>
#include <QScrollBar>

namespace {
// The canvas erases by drawing in its background grey, so the window shares it.
const QColor Grey(StrokeColour::BackgroundGrey);
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Quorvane"));
    const QString homePage = QStringLiteral(QUORVANE_HOMEPAGE);
    setWindowTitle(homePage.isEmpty() ? QStringLiteral("Quorvane")
                                      : QStringLiteral("Quorvane - ") + homePage);
    setFont(Fonts::standard());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Grey);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setFixedSize(ClientSize);

    installAccessibleControls();
    m_journal = new InputJournal(this);
    m_question = std::make_unique<DeleteQuestion>(this, m_journal);
    // Created first, so that every control stays above it.
    m_canvas = new CanvasWidget(ClientSize, this);
    createControls();
    CanvasAccessibility::setUp(*m_canvas, labKlepnuti->text());

    m_settings = std::make_unique<WindowSettingsStore>(
        std::array{nStartuje, nFrekvence, nNasob, nPosunZdroje, nBarva, nSpomaleni});
    m_handlers =
        std::make_unique<SettingsHandlers>(*m_settings, static_cast<SettingsView &>(*this));
    m_pacer = std::make_unique<WindowPacer>(*m_canvas);
    wireEvents();
    new PictureExport(*this, *m_canvas, m_curves,
                      [this](std::function<void()> action) { whenIdle(std::move(action)); });

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
    return handled;
}

MainWindow::~MainWindow() = default;

void MainWindow::wireEvents()
{
    for (QButtonGroup *group : std::as_const(m_optionGroups))
        connect(group, &QButtonGroup::idClicked, this,
                [this](int id) { whenIdle([this, id] { optionClicked(Option(id)); }); });
    new KeyboardNavigation(this);

    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        whenIdle([this, value] { m_handlers->scrollBarChanged(value); });
    });
    connect(cmdStart, &QPushButton::clicked, this,
            [this] { whenIdle([this] { runReflection(); }); });
    connect(cmdKonec, &QPushButton::clicked, this, [this] { whenIdle([this] { close(); }); });
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
    ReflectionRun(*m_settings, *m_canvas, *m_question, *m_pacer, static_cast<RunEndView &>(*this),
                  m_curves)
        .run();
    m_canvas->flush();
    CanvasAccessibility::announce(*m_canvas, CurveText::describe(m_curves, QLocale()));
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
