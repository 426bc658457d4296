#pragma once
// The pictures' finishing on the CPU: the strand laid over a softened field of cells, a glow,
// the title, and the reduction from the large rendering to the final size. Pictures hold
// display values 0..1 (as the framebuffer gives them); filtering is done in linear light.
#include "tools/art/art_image.h"
#include "tools/art/font_face.h"

// Area resampling: each output pixel is the linear-light mean of the source area it covers
// (partly covered source pixels by their share). Any sizes, up or down; an empty size gives an
// empty picture.
ArtImage resampleArea(const ArtImage& source, int width, int height);

// Separable Gaussian blur of radius about 3 sigma; sigma <= 0 returns the picture unchanged.
ArtImage gaussianBlur(const ArtImage& source, float sigma);

struct LayerStyle {
  float backgroundGain = 0.5f;  // the cells are dimmed so the strand stands out
  float backgroundBlur = 0;     // in pixels of the large picture: the cells lie out of focus
  float vignette = 0.6f;        // how much the corners darken
  float glowSigma = 0;          // the strand's halo, in pixels of the large picture
  float glowGain = 0.6f;
  ArtColour glowColour{0.35f, 0.55f, 1.0f};
};

// The strand (drawn on black) over the cells: its coverage comes from its own brightness, so
// its dark edges blend and its atoms hide the cells behind them. Both pictures have one size.
ArtImage layerStrand(const ArtImage& cells, const ArtImage& strand, const LayerStyle& style);

// Lays text (a coverage mask) with its top-left ink corner at (x, y): a dark soft shadow, a
// coloured glow of `glowSigma` pixels, then the letters shaded top to bottom from `top` to
// `bottom`.
void stampTitle(ArtImage& image, const TextMask& mask, int x, int y, float glowSigma, ArtColour top,
                ArtColour bottom, ArtColour glow);
