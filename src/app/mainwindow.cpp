#include "mainwindow.h"

#include "accessiblecontrols.h"
#include "accessiblenames.h"
#include "canvas/canvasitem.h"
#include "canvas/canvaswidget.h"
#include "canvas/strokecolour.h"
#include "fonts.h"
#include "inputjournal.h"
#include "keyboardnavigation.h"
#include "run/reflectionrun.h"
#include "thicknesspicture.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

// The canvas erases by drawing in its background grey, so the window shares it.
const QColor Grey(StrokeColour::BackgroundGrey);
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);
const QColor LightBlue(192, 192, 255);
const QColor PaleGreen(192, 255, 192);
const QColor LightOrange(255, 224, 192);
const QColor White(255, 255, 255);

// Radio buttons paint their background with the Button role and text fields with Base.
// An option's circle is filled with Base too, and stays white.
void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Base, qobject_cast<QRadioButton *>(widget) ? White : colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

template <typename Control>
Control *place(Control *control, const QString &name, const QRect &geometry, const QFont &font,
               const QColor &background)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    control->setFont(font);
    setBackground(control, background);
    return control;
}

QLineEdit *textField(QWidget *window, const QString &name, const QRect &geometry,
                     const QString &text, const QFont &font, const QColor &background)
{
    auto *field = place(new QLineEdit(text, window), name, geometry, font, background);
    field->setVisible(false);
    return field;
}

// The two headings are text fields that only read as captions: frameless and grey.
QLineEdit *captionField(QWidget *window, const QString &name, const QRect &geometry,
                        const QString &text, const QFont &font, Qt::Alignment alignment)
{
    auto *field = place(new QLineEdit(text, window), name, geometry, font, Grey);
    field->setFrame(false);
    field->setReadOnly(true);
    field->setAlignment(alignment);
    field->setTextMargins(0, 0, 0, 0);
    return field;
}

QGroupBox *frame(QWidget *window, const QString &name, const QRect &geometry, const QString &title,
                 const QFont &font)
{
    return place(new QGroupBox(title, window), name, geometry, font, Grey);
}

QRadioButton *option(QGroupBox *frame, const QString &name, const QRect &geometry,
                     const QString &text, const QColor &background)
{
    return place(new QRadioButton(text, frame), name, geometry, Fonts::standard(), background);
}

QPushButton *command(QWidget *window, const QString &name, const QRect &geometry,
                     const QString &text, const QFont &font)
{
    auto *button = place(new QPushButton(text, window), name, geometry, font, Grey);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

CanvasItem *label(CanvasWidget *canvas, const QString &name, const QRect &geometry,
                  const QString &text, const QFont &font,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    auto *item = new CanvasItem(name, geometry, canvas);
    item->setText(text, font, alignment);
    return item;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
    , m_question(this)
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
    // Created first, so that every control stays above it.
    m_canvas = new CanvasWidget(ClientSize, this);
    createControls();
    makeControlsAccessible(this);
    setUpTabOrder();

    m_settings = std::make_unique<WindowSettingsStore>(
        std::array{nStartuje, nFrekvence, nNasob, nPosunZdroje, nBarva, nSpomaleni});
    m_handlers =
        std::make_unique<SettingsHandlers>(*m_settings, static_cast<SettingsView &>(*this));
    m_pacer = std::make_unique<WindowPacer>(*m_canvas);
    wireEvents();

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

void MainWindow::createControls()
{
    using Fonts::S8B;
    using Fonts::T12;
    using Fonts::T14;
    using Fonts::T15;
    const auto std = Fonts::standard();

    nRelativeRngth = captionField(this, QStringLiteral("nRelativeRngth"), {632, 72, 129, 19},
                                  QStringLiteral("Vectors of two paths "), S8B(), Qt::AlignLeft);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(344, 24, 145, 17);
    HScroll1->setRange(1, 30);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(1);
    // A drag changes the setting once, when the thumb is let go.
    HScroll1->setTracking(false);
    nZrcadleniDvouRozhrani =
        captionField(this, QStringLiteral("nZrcadleniDvouRozhrani"), {312, 0, 217, 25},
                     QStringLiteral("Quorvane"), T14(), Qt::AlignCenter);

    frmAnimace = frame(this, QStringLiteral("frmAnimace"), {64, 200, 81, 73},
                       QStringLiteral("Animace"), S8B());
    nPomalá = option(frmAnimace, QStringLiteral("nPomalá"), {8, 48, 65, 17},
                     QStringLiteral("Pomalá"), Grey);
    opPomalší = option(frmAnimace, QStringLiteral("opPomalší"), {8, 32, 65, 13},
                       QStringLiteral("Pomalejší"), Grey);
    opRychlá = option(frmAnimace, QStringLiteral("opRychlá"), {8, 16, 57, 17},
                      QStringLiteral("Rychlá"), Grey);
    frmAnimace->setVisible(false);
    nSpomaleni = textField(this, QStringLiteral("nSpomaleni"), {552, 24, 41, 19},
                           QStringLiteral("Spomaleni"), std, White);

    frmPosunZdroje = frame(this, QStringLiteral("frmPosunZdroje"), {24, 96, 105, 49},
                           QStringLiteral("Posun zdroje"), T12());
    op50 = option(frmPosunZdroje, QStringLiteral("op50"), {32, 32, 33, 13}, QStringLiteral("50"),
                  Grey);
    op0 =
        option(frmPosunZdroje, QStringLiteral("op0"), {32, 16, 41, 13}, QStringLiteral("0"), Grey);
    frmPosunZdroje->setVisible(false);
    nPosunZdroje = textField(this, QStringLiteral("nPosunZdroje"), {520, 80, 49, 19},
                             QStringLiteral("nPosunZdroje"), std, White);

    frmRelDelka = frame(this, QStringLiteral("frmRelDelka"), {632, 88, 129, 65},
                        QStringLiteral("Relative length "), T12());
    op15D =
        option(frmRelDelka, QStringLiteral("op15D"), {72, 48, 41, 13}, QStringLiteral("1,5"), Grey);
    op1D = option(frmRelDelka, QStringLiteral("op1D"), {48, 32, 33, 13}, QStringLiteral("1"), Grey);
    op05D =
        option(frmRelDelka, QStringLiteral("op05D"), {24, 16, 49, 17}, QStringLiteral("0,5"), Grey);

    cmdKonec =
        command(this, QStringLiteral("cmdKonec"), {720, 8, 73, 33}, QStringLiteral("Exit"), T14());

    frmFrekvence = frame(this, QStringLiteral("frmFrekvence"), {136, 72, 161, 57},
                         QStringLiteral("Relative frequency"), T12());
    op15 = option(frmFrekvence, QStringLiteral("op15"), {8, 40, 73, 13}, QStringLiteral("1,5 blue"),
                  LightBlue);
    op1 = option(frmFrekvence, QStringLiteral("op1"), {88, 24, 65, 13}, QStringLiteral("1 green"),
                 Green);
    op05 = option(frmFrekvence, QStringLiteral("op05"), {8, 24, 73, 17}, QStringLiteral("0,5 red"),
                  Red);

    frmBarva1 = frame(this, QStringLiteral("frmBarva1"), {80, 0, 137, 57},
                      QStringLiteral("Graph colour"), T12());
    opModra = option(frmBarva1, QStringLiteral("opModra"), {64, 40, 65, 13},
                     QStringLiteral("modrá"), LightBlue);
    opzelená = option(frmBarva1, QStringLiteral("opzelená"), {8, 40, 57, 13},
                      QStringLiteral("zelená"), Green);
    opCervena = option(frmBarva1, QStringLiteral("opCervena"), {64, 24, 65, 13},
                       QStringLiteral("červená"), Red);
    opCerna = option(frmBarva1, QStringLiteral("opCerna"), {8, 24, 49, 17}, QStringLiteral("black"),
                     Grey);

    nBarva = textField(this, QStringLiteral("nBarva"), {496, 56, 57, 19}, QStringLiteral("nBarva"),
                       S8B(), PaleGreen);
    nStartuje = textField(this, QStringLiteral("nStartuje"), {440, 80, 73, 25},
                          QStringLiteral("nStartuj"), std, LightOrange);
    nFrekvence = textField(this, QStringLiteral("nFrekvence"), {96, 40, 33, 19},
                           QStringLiteral("nFrekvence"), S8B(), PaleGreen);
    nNasob = textField(this, QStringLiteral("nNasob"), {600, 96, 33, 19}, QStringLiteral("nNasob"),
                       S8B(), PaleGreen);
    cmdStart =
        command(this, QStringLiteral("cmdStart"), {624, 8, 73, 33}, QStringLiteral("Start"), T15());

    imThickness = new CanvasItem(QStringLiteral("imThickness"), {400, 296, 16, 143}, m_canvas);
    imThickness->setPicture(thicknessPicture());
    labKlepnuti =
        label(m_canvas, QStringLiteral("labKlepnuti"), {152, 272, 273, 33},
              QStringLiteral("Please press button Start"), T15(), Qt::AlignHCenter | Qt::AlignTop);
    labKlepnuti->show();
    labDetektor = label(m_canvas, QStringLiteral("labDetektor"), {232, 48, 65, 17},
                        QStringLiteral("Detector"), T12());
    labZdroj = label(m_canvas, QStringLiteral("labZdroj"), {32, 56, 57, 17},
                     QStringLiteral("Source"), T12());
    labOdrazovost = label(m_canvas, QStringLiteral("labOdrazovost"), {224, 32, 233, 17},
                          QStringLiteral("Interfernce pattern (probability)"), T12());
}

void MainWindow::setUpTabOrder()
{
    // By tab index; hidden controls are skipped by the toolkit, and frames and the
    // canvas's labels never take the focus.
    const QWidget *order[] = {
        cmdStart,  nNasob,        nFrekvence, nStartuje, nBarva,       opCerna,
        opCervena, opzelená,      opModra,    op05,      op1,          op15,
        cmdKonec,  op05D,         op1D,       op15D,     nPosunZdroje, op0,
        op50,      nSpomaleni,    opRychlá,   opPomalší, nPomalá,      nZrcadleniDvouRozhrani,
        HScroll1,  nRelativeRngth};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget *>(order[i - 1]), const_cast<QWidget *>(order[i]));
}

void MainWindow::wireEvents()
{
    const auto group = [this](std::initializer_list<std::pair<QRadioButton *, Option>> options) {
        auto *buttons = new QButtonGroup(this);
        for (const auto &[button, id] : options)
            buttons->addButton(button, int(id));
        connect(buttons, &QButtonGroup::idClicked, this,
                [this](int id) { m_journal->whenIdle([this, id] { optionClicked(Option(id)); }); });
        return buttons;
    };
    // Each group's options in tab order, the order the arrow keys follow.
    m_optionGroups = {
        group({{opCerna, Option::opCerna},
               {opCervena, Option::opCervena},
               {opzelená, Option::opzelená},
               {opModra, Option::opModra}}),
        group({{op05, Option::op05}, {op1, Option::op1}, {op15, Option::op15}}),
        group({{op05D, Option::op05D}, {op1D, Option::op1D}, {op15D, Option::op15D}}),
        group({{op0, Option::op0}, {op50, Option::op50}}),
        group({{opRychlá, Option::opRychlá},
               {opPomalší, Option::opPomalší},
               {nPomalá, Option::nPomalá}}),
    };
    new KeyboardNavigation(this, {m_optionGroups.begin(), m_optionGroups.end()});

    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        m_journal->whenIdle([this, value] { m_handlers->scrollBarChanged(value); });
    });
    connect(cmdStart, &QPushButton::clicked, this,
            [this] { m_journal->whenIdle([this] { runReflection(); }); });
    connect(cmdKonec, &QPushButton::clicked, this,
            [this] { m_journal->whenIdle([this] { close(); }); });
}

void MainWindow::whenIdle(std::function<void()> action)
{
    m_journal->whenIdle(std::move(action));
}

void MainWindow::optionClicked(Option option)
{
    m_handlers->optionChosen(option);
}

void MainWindow::runReflection()
{
    m_running = true;
    m_journal->startRecording();
    ReflectionRun(*m_settings, *m_canvas, m_question, *m_pacer, static_cast<RunEndView &>(*this))
        .run();
    m_running = false;
    m_canvas->flush();
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

void MainWindow::selectOption(Option option)
{
    for (QButtonGroup *group : m_optionGroups)
        if (QAbstractButton *button = group->button(int(option)))
            button->setChecked(true);
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
