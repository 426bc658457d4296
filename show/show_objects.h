#pragma once
// The process-wide objects of the show, constructed before main in this order: the director,
// the cells field, the ten DNA helices, the layer tunnel, the nucleus, the text overlay, the
// loading screen and the three textures of the frame, then the frame composition that draws
// them. The order matters: the nucleus draws its particle layout from the random source in its
// constructor, before any run seeds the generator, so that layout is the same in every run,
// while everything loaded later (cells, strands, the first script) follows the run's seed.
// They live until the process ends; their OpenGL objects go with the rendering context.
#include <cstddef>

#include "anim/director.h"
#include "assets/texture.h"
#include "render/frame_composition.h"
#include "render/text_overlay.h"
#include "scenes/cells_field.h"
#include "scenes/dna_helix.h"
#include "scenes/layer_tunnel.h"
#include "scenes/loading_screen.h"
#include "scenes/nucleus.h"

constexpr std::size_t dnaHelixCount = 10;
// The DNA scene always shows this one of the ten.
constexpr std::size_t shownDnaHelix = 1;

extern Director director;
extern CellsField cellsField;
extern DnaHelix dnaHelices[dnaHelixCount];
extern LayerTunnel layerTunnel;
extern Nucleus nucleus;
extern TextOverlay textOverlay;
extern LoadingScreen loadingScreen;
extern Texture cellTexture;    // "textures\cell.jpg"
extern Texture envTexture;     // "textures\env.jpg"
extern Texture dnaEnvTexture;  // "textures\d_env.jpg"
extern FrameComposition frameComposition;
