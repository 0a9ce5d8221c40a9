// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "deletequestion.h"

#include "input/inputjournal.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSpacerItem>

namespace {

class AnswerOnlyBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

DeleteQuestion::DeleteQuestion(QWidget *parent, InputJournal *journal)
    : m_parent(parent)
    , m_journal(journal)
{}

YesNoQuestion::Answer DeleteQuestion::ask(const QString &text)
{
    AnswerOnlyBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                      QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setObjectName(QStringLiteral("deleteQuestion"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setWindowModality(Qt::ApplicationModal);
    // Transient for the window, so that every window manager centres it there; a title
    // without maximise or close buttons, since only an answer ends it.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    for (QAbstractButton *button : box.buttons())
        button->setIcon(QIcon());
    // On Wayland Qt draws the title bar itself, the title centred between three buttons of
    // some 90 pixels on the right and as much again on the left: a box as narrow as its
    // text would cut the title short.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        QFont titleFont = box.font();
        titleFont.setPixelSize(14);
        const int wide = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 2 * 90;
        if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
            grid->addItem(new QSpacerItem(wide, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                          grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (m_journal) {
        // Keys on their way from the window system reach the journal while the window can
        // still take them; once the box shows, the toolkit would drop them.
        QCoreApplication::processEvents();
        box.show();
        QWidget *target = box.focusWidget() ? box.focusWidget() : &box;
        for (std::unique_ptr<QEvent> &key : m_journal->takeKeysOfThisRun())
            QCoreApplication::postEvent(target, key.release());
        m_journal->setQuestion(&box);
    }
    const bool no = box.exec() == QMessageBox::No;
    if (m_journal)
        m_journal->setQuestion(nullptr);
    return no ? Answer::No : Answer::Yes;
}
