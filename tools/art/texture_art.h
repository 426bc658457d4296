#pragma once

#include <string>

#include "tools/art/art_image.h"

// The show's pictures. Every painter is deterministic: the same call gives the same
// pixels on every run. Sizes are powers of two.

// textures\cell.jpg: translucent membrane, tileable in both directions (512 x 512).
ArtImage paintMembrane();
// textures\env.jpg: soft teal and violet nebula behind the field of cells, tileable (1024).
ArtImage paintCellsBackground();
// textures\d_env.jpg: pale, nearly neutral veils behind the nucleus and the DNA, which the
// show tints with the colour of the cell that was entered; tileable (1024).
ArtImage paintNucleusBackground();
// textures\hcore.jpg: chromatin fibres, sphere-mapped onto the nucleus (512).
ArtImage paintChromatin();
// textures\dna.jpg: sphere map that gives the atoms a glossy highlight (256).
ArtImage paintAtomHighlight();
// textures\link.jpg: the glowing band of a rung, s along its length, t across (256).
ArtImage paintRungBand();

// Pictures that need the DejaVu font; false with `error` set when it cannot be loaded.
// textures\c.jpg: 4 x 4 glyph cells (1024), white on black: 0-9, colon, AM, PM, all ink in
// the lower two thirds of each cell.
bool paintGlyphAtlas(ArtImage& out, std::string& error);
// textures\load.jpg: the title over a double helix (1024, shown stretched to 4:3).
bool paintLoadingPicture(ArtImage& out, std::string& error);
