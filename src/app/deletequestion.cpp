#include "deletequestion.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>

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

DeleteQuestion::DeleteQuestion(QWidget *parent)
    : m_parent(parent)
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
    return box.exec() == QMessageBox::No ? Answer::No : Answer::Yes;
}
