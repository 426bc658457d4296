#pragma once
// LayerTunnel: the fly-in at the start of the nucleus and DNA scenes. Six translucent, tinted
// sheets of the cell texture, stacked `spacing` apart in eye space, rush toward the viewer;
// each time the nearest one passes the eye it is recycled to the far end with a new random
// direction (which turns and shifts its texture). The nearest sheet fades out as it closes in
// and the farthest fades in, so a recycle shows no jump.
//
// build loads and compiles (rendering context needed) and then draws the sheets' directions;
// buildLayers and update are plain CPU work. update recycles at most one sheet per call, so a
// step of more than spacing / 40 seconds leaves `offset` negative until later updates catch up.
// The frame composition decides visibility and sets `colour` and `alpha` before each draw.
//
// Random draws: build draws layerCount directions (x, y, z each); each recycle draws one.
#include <cstdint>
#include <deque>

#include "assets/texture.h"
#include "render/math.h"

class LayerTunnel {
 public:
  LayerTunnel() = default;
  virtual ~LayerTunnel() = default;

  // Texture, quad list, then the sheets.
  void build();
  // The sheets alone: layerCount = 6 random directions appended, farthest first. No GL call.
  void buildLayers();
  // Moves the sheets toward the eye by 40 dt and recycles the nearest once it has passed.
  void update(float dt);
  // Draws in eye space over whatever the frame has drawn; lighting and culling already off.
  void draw() const;

  // The opacity of sheet i (0 farthest) for the present offset.
  float layerAlpha(int i) const;

  std::deque<Vec3> layers;  // farthest first
  float spacing = 10.0f;
  float offset = 10.0f;
  float alpha = 0.4f;
  int layerCount = 6;
  Vec3 colour{1.0f, 1.0f, 1.0f};
  std::uint32_t quadList = 0;
  Texture texture;
};
