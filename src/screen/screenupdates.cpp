#include "screenupdates.h"

#include <QByteArray>

void preferSmallScreenUpdates()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
}
