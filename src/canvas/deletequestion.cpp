#include "deletequestion.h"

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
    return box.exec() == QMessageBox::No ? Answer::No : Answer::Yes;
}
