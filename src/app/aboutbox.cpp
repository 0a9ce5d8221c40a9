// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aboutbox.h"

#include "about.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

QString AboutBox::text()
{
    return QCoreApplication::translate("AboutBox",
                                       "%1 %2\n\nPartial reflection of light by a sheet of glass "
                                       "with two surfaces.\n\n%3\n\n%4\n\n%5")
        .arg(QString::fromUtf8(About::Name), QString::fromUtf8(About::Version),
             QString::fromUtf8(About::Copyright), QString::fromUtf8(About::LicenseText),
             QString::fromUtf8(About::HomePage));
}

void AboutBox::show(QWidget *window)
{
    QMessageBox::about(
        window,
        QCoreApplication::translate("AboutBox", "About %1").arg(QString::fromUtf8(About::Name)),
        text());
}
