#include "accessiblenames.h"

#include <QApplication>
#include <QFocusFrame>
#include <QScrollBar>
#include <QString>
#include <QWidget>

namespace {

struct Naming {
    const char *objectName;
    const char *name;
    const char *description;
};

// The names say what a control stands for; the descriptions what choosing it does. The
// hidden state fields and the two hidden frames are never shown, so they get none.
constexpr Naming Namings[] = {
    {"cmdStart", "Start",
     "Sweep the thickness of the glass from 0 to 300 pixels and plot the probability of "
     "reflection"},
    {"cmdKonec", "Exit", "Close Quorvane"},
    {"HScroll1", "Animation slow-down",
     "From 1, the fastest, to 30, the slowest; takes effect at the next run"},
    {"nZrcadleniDvouRozhrani", "Program title", "Partial reflection by two surfaces of glass"},
    {"nRelativeRngth", "Heading: vectors of two paths",
     "Heading of the relative length options below it"},

    {"frmBarva1", "Graph colour", "Colour of the curve the next run plots"},
    {"opCerna", "Graph colour black", "Plot the next curve in black"},
    {"opCervena", "Graph colour red (červená)", "Plot the next curve in red"},
    {"opzelená", "Graph colour green (zelená)", "Plot the next curve in green"},
    {"opModra", "Graph colour blue (modrá)", "Plot the next curve in blue"},

    {"frmFrekvence", "Relative frequency of the light",
     "Choosing a frequency also chooses the graph colour of its name"},
    {"op05", "Relative frequency 0.5, red curve",
     "Half the frequency: the arrow turns half as fast and the curve's period doubles"},
    {"op1", "Relative frequency 1, green curve",
     "The back arrow turns a full circle about every 80 pixels of thickness"},
    {"op15", "Relative frequency 1.5, blue curve",
     "One and a half times the frequency: the curve's period is two thirds as long"},

    {"frmRelDelka", "Relative length of the back-surface arrow",
     "Sets how strongly the back surface reflects compared with the front"},
    {"op05D", "Relative length 0.5", "Back-surface arrow half as long as the front arrow"},
    {"op1D", "Relative length 1",
     "Back-surface arrow as long as the front arrow: the probability falls to zero"},
    {"op15D", "Relative length 1.5",
     "Back-surface arrow one and a half times as long as the front arrow"},
};

// A control that is missing would leave a screen reader user without a name; that is a
// fault of the window, not something to pass over quietly.
template <typename Control> Control *control(QWidget *window, const char *objectName)
{
    auto *found = window->findChild<Control *>(QString::fromUtf8(objectName));
    Q_ASSERT_X(found, "makeControlsAccessible", objectName);
    return found;
}

void nameControls(QWidget *window)
{
    for (const auto &naming : Namings) {
        if (auto *widget = control<QWidget>(window, naming.objectName)) {
            widget->setAccessibleName(QString::fromUtf8(naming.name));
            widget->setAccessibleDescription(QString::fromUtf8(naming.description));
        }
    }
}

void makeScrollBarReachable(QWidget *window)
{
    auto *scrollBar = control<QScrollBar>(window, "HScroll1");
    if (!scrollBar)
        return;
    // Tab only: a click on the bar changes the slow-down and should leave the focus where it was.
    scrollBar->setFocusPolicy(Qt::TabFocus);
    // Qt 6.4 reads Left and Right of a horizontal bar through invertedControls, which every
    // QScrollBar sets, so Right would move the thumb to the left. Without it the arrow keys
    // move the thumb the way they point (and the wheel turned up moves it right).
    scrollBar->setInvertedControls(false);
    auto *frame = new QFocusFrame(window);
    frame->setObjectName(QStringLiteral("HScroll1FocusFrame"));
    QObject::connect(qApp, &QApplication::focusChanged, frame,
                     [frame, scrollBar](QWidget *, QWidget *now) {
                         frame->setWidget(now == scrollBar ? scrollBar : nullptr);
                     });
}

} // namespace

void makeControlsAccessible(QWidget *window)
{
    nameControls(window);
    makeScrollBarReachable(window);
}
