#pragma once

#include "core/rulesolve.h"
#include "core/services.h"

#include <cstdio>

// The benches solve with the solver library of this build; false, said under `bench`'s name,
// when it cannot be loaded.
inline bool loadBenchSolver(const char *bench)
{
    static CoreServices services;
    services.solverLibrary = QStringLiteral(NARABIN_BENCH_SOLVER);
    installCoreServices(&services);
    QString error;
    if (ruleSolver(&error))
        return true;
    std::printf("%s: the solver library could not be loaded: %s\n", bench, qPrintable(error));
    return false;
}
