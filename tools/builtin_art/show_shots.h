#pragma once
// Pictures of the show taken off-screen: the show's own content (data.sdd), objects and frame
// composition, with the camera placed by hand instead of by a script. The run's random source
// is seeded first, so the same archive always gives the same pixels.
#include <string>

#include "render/math.h"
#include "scenes/dna_helix.h"
#include "tools/art/art_image.h"

struct ShotCamera {
  Vec3 position;
  Vec3 viewDir;
  Vec3 up;
};

class ShowShots {
 public:
  ShowShots() = default;
  ShowShots(const ShowShots&) = delete;
  ShowShots& operator=(const ShowShots&) = delete;
  virtual ~ShowShots();

  // Makes a context of at most maxWidth x maxHeight and loads the archive in `dataFolder`
  // (which becomes the current directory). False with `error` set when either fails.
  bool open(const std::string& dataFolder, int maxWidth, int maxHeight, std::string& error);

  // Lets the objects run for `seconds` of show time (the cells turn, the strand spins).
  void advance(float seconds);

  // The field of cells with its background shell, seen from `camera`.
  ArtImage cells(int width, int height, const ShotCamera& camera);

  // The cells' own regular double helix, built `pairs` long and standing upright from the
  // origin, alone on black: atoms opaque and lit, rungs glowing over them. The lens is the
  // saver's narrowed by `zoom`.
  ArtImage helix(int width, int height, const ShotCamera& camera, unsigned pairs, float zoom);

 private:
  ArtImage shoot(int width, int height, const ShotCamera& camera);
  ArtImage readBack(int width, int height);
  struct OffscreenContext* context = nullptr;
  DnaHelix longHelix;
  unsigned longHelixPairs = 0;
};
