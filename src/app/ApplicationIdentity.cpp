#include "ApplicationIdentity.h"

#include <QCoreApplication>

namespace pelk {

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName("ZAV");
    QCoreApplication::setApplicationName("PELK");
    QCoreApplication::setOrganizationDomain("pelk.zav.org");
}

} // namespace pelk
