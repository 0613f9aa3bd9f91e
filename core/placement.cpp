#include "core/placement.h"

#include "core/clock.h"
#include "core/services.h"

#include <QRandomGenerator>

#include <cmath>
#include <memory>
#include <utility>

UniformSource seededUniformSource(quint32 seed)
{
    auto generator = std::make_shared<QRandomGenerator>(seed);
    return [generator] { return double(generator->generate() >> 8) / double(1 << 24); };
}

UniformSource clockSeededSource(const QDateTime &now)
{
    return seededUniformSource(quint32(now.time().msecsSinceStartOfDay()));
}

UniformSource runSource()
{
    if (const auto &source = coreServices().runSource)
        return source();
    return clockSeededSource(currentDateTime());
}

int keyFromUniform(double r)
{
    return int(std::floor(r * 999 + 1));
}

void shuffleAndPlace(ClassModel &c, const UniformSource &uniform)
{
    Draw draw = drawChart(c.pupils, c.conditions, uniform);
    c.pupils = std::move(draw.order);
    c.chart = std::move(draw.chart);
}
