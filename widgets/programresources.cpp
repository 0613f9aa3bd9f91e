#include "widgets/programresources.h"

#include <QtGlobal>

void ensureProgramResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(narabin);
        return true;
    }();
    Q_UNUSED(registered);
}
