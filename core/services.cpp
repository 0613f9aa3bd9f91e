#include "core/services.h"

namespace
{
const CoreServices *&installed()
{
    static const CoreServices *services = nullptr;
    return services;
}
} // namespace

const CoreServices &coreServices()
{
    static const CoreServices machine;
    return installed() ? *installed() : machine;
}

void installCoreServices(const CoreServices *services)
{
    installed() = services;
}
