#pragma once
// LoadingScreen: the one full-screen picture ("textures\load.jpg") shown while the run loads
// its assets. prepare runs once the render state is set and before the windows are shown;
// show draws the picture over the whole 800 x 600 overlay space (so no clear is needed) and
// presents it through presentFrame(). It stays up until the first frame of the show.
// A picture that cannot be loaded leaves no texture bound, so the screen shows plain white;
// the texture loader has already told the user why.
#include <cstdint>

#include "assets/texture.h"

class LoadingScreen {
 public:
  virtual ~LoadingScreen() = default;

  void prepare();
  void show() const;

  std::uint32_t quadList = 0;
  Texture loadTexture;
};
