#pragma once

#include "run/yesnoquestion.h"

#include <QPointer>

class QWidget;

// The modal Yes/No box. It has no Escape button and ignores close requests: the run
// needs a real answer.
class DeleteQuestion : public YesNoQuestion
{
public:
    explicit DeleteQuestion(QWidget *parent);

    Answer ask(const QString &text) override;

private:
    QPointer<QWidget> m_parent;
};
