#pragma once

#include <vector>

// One horizontal band of the main window's background, in twips; left, top, right
// and bottom are all inside the band.
struct GradientBand {
    int left, top, right, bottom;
    int red, green, blue;
};

// The bands for the gradient numbers R, G, B over a client area H twips high and
// W twips wide: band step S = H div 16; a band at every y = 0, S, 2S, ... up to H,
// from (-1, y - 1) to (W, y + S), blue falling from B at the top towards 0.
std::vector<GradientBand> gradientBands(int red, int green, int blue, int height, int width);
