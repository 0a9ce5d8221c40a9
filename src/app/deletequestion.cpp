// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "deletequestion.h"

#include "input/inputjournal.h"
#include "questioncover.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

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

DeleteQuestion::Placement DeleteQuestion::placementHere()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
               ? Placement::InsideWindow
               : Placement::OwnWindow;
}

DeleteQuestion::DeleteQuestion(QWidget *parent, InputJournal *journal, Placement placement)
    : m_parent(parent)
    , m_journal(journal)
    , m_placement(placement)
{}

YesNoQuestion::Answer DeleteQuestion::ask(const QString &text)
{
    const QString title = QCoreApplication::applicationName();
    std::unique_ptr<QuestionCover> cover;
    if (m_placement == Placement::InsideWindow && m_parent)
        cover = std::make_unique<QuestionCover>(m_parent, title);
    AnswerOnlyBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No,
                      m_parent);
    box.setObjectName(QStringLiteral("deleteQuestion"));
    box.setDefaultButton(QMessageBox::Yes);
    for (QAbstractButton *button : box.buttons())
        button->setIcon(QIcon());
    if (!cover) {
        box.setWindowModality(Qt::ApplicationModal);
        // Transient for the window, so that every window manager centres it there; a title
        // without maximise or close buttons, since only an answer ends it.
        box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    }
    // Keys on their way from the window system reach the journal while the window can
    // still take them; once the box shows, the toolkit would drop them.
    if (m_journal)
        QCoreApplication::processEvents();
    if (cover)
        cover->showWith(&box);
    else
        box.show();
    box.defaultButton()->setFocus(Qt::OtherFocusReason);
    if (m_journal) {
        QWidget *target = box.focusWidget() ? box.focusWidget() : &box;
        for (std::unique_ptr<QEvent> &key : m_journal->takeKeysOfThisRun())
            QCoreApplication::postEvent(target, key.release());
        m_journal->setQuestion(cover ? static_cast<QWidget *>(cover.get()) : &box);
    }
    const bool no = box.exec() == QMessageBox::No;
    if (m_journal)
        m_journal->setQuestion(nullptr);
    return no ? Answer::No : Answer::Yes;
}
