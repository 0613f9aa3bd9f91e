#include "core/gradient.h"

std::vector<GradientBand> gradientBands(int red, int green, int blue, int height, int width)
{
    std::vector<GradientBand> bands;
    const int step = height / 16;
    if (step <= 0)
        return bands;
    for (int y = 0; y <= height; y += step)
        bands.push_back(GradientBand{-1, y - 1, width, y + step, red, green, blue - (blue * y) / height});
    return bands;
}
