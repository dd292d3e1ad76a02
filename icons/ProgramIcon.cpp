#include "icons/ProgramIcon.h"

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/lilywade-32.png"));
    icon.addFile(QStringLiteral(":/icons/lilywade-128.png"));
    return icon;
}
