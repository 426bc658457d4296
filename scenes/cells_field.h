#pragma once
// CellsField: the swarm of translucent cells of the Cells scene. The layout (reg_cells.dat)
// fills one 300-unit lattice period and repeats along every axis; each frame every cell is
// moved into the copy of the lattice nearest to the camera, so the flight never reaches an edge.
//
// reg_cells.dat: uint32 N, then N records of 28 bytes (home x y z, axis x y z, angle), all
// little-endian. An entry that is missing, shorter than 4 + 28 N bytes, or holds a value that
// is not finite is refused whole: loadCells returns false, the field keeps no cells and draws
// nothing (a partial or damaged layout would leave holes in the periodic field). The count is
// checked against the entry's size before anything is allocated. Bytes after the last record
// are ignored.
//
// Random draws (randomUnit): a new Cell draws, for each mitochondrion in turn, its angle, axis
// (three, randomDirection), speed and radius, then its colour blue, green, red. recolour draws
// three per cell in the same channel order. The content generator's layout keeps the same
// sequence; a test ties the two together.
//
// Logic and drawing are apart: parseCellRecords, addCells, update, recolour and placeCells
// (lattice placement, distance, view cone, alpha and the far-to-near sort) need no GL context;
// draw calls placeCells and then draws. The sort is stable, so cells at equal distance keep the
// order of the previous frame. The membrane's arrays are bound once per frame, after the helix
// passes (so nothing the helix draws can move them), and disabled again at the end of draw, so
// later vertex-array users start from a clean state.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "assets/morph_mesh.h"
#include "assets/texture.h"
#include "render/math.h"
#include "scenes/dna_helix.h"

class Cell {
 public:
  static constexpr int mitoCount = 10;

  // Draws the cell's random values (see above); position starts at the origin.
  Cell();
  virtual ~Cell() = default;

  // A new colour from three draws: blue, green, red, each 1 - 0.7 u.
  void drawColour();

  Vec3 position{0, 0, 0};
  Vec3 home{0, 0, 0};
  Vec3 axis{0, 1, 0};
  Vec3 colour{1, 1, 1};
  float angle = 0.0f;
  float alpha = 0.0f;
  float distance = 0.0f;
  float mitoAngle[mitoCount];
  float mitoRadius[mitoCount];
  Vec3 mitoAxis[mitoCount];
  float mitoSpeed[mitoCount];
  bool visible = false;
  MorphMesh* membrane = nullptr;
  DnaHelix* helix = nullptr;
  std::uint32_t mitoList = 0;
  std::uint32_t bodyList = 0;
};

// One record of reg_cells.dat.
struct CellRecord {
  Vec3 home;
  Vec3 axis;
  float angle;
};

// The records of a reg_cells.dat held in memory; false (and `records` empty) when the bytes
// are too short for the count or a value is not finite.
bool parseCellRecords(const std::uint8_t* bytes, std::size_t size,
                      std::vector<CellRecord>& records);

// The lattice copy nearest to a point p: origin q = 300 trunc(p / 300) per axis (toward zero)
// and p's offset s = p - q within it.
struct LatticeFrame {
  static constexpr float period = 300.0f;
  Vec3 origin;
  Vec3 offset;
};
LatticeFrame latticeFrame(Vec3 p);
// Where a home position is drawn around the frame's point: per axis home + q, shifted by one
// period toward s when it lies more than half a period (strictly) away from s.
Vec3 nearestCopy(const LatticeFrame& frame, Vec3 home);

class CellsField {
 public:
  using CellList = std::vector<std::unique_ptr<Cell>>;

  CellsField() = default;
  CellsField(const CellsField&) = delete;
  CellsField& operator=(const CellsField&) = delete;
  virtual ~CellsField() = default;

  // Loads the membrane (animation\cell.trk at Detail 2, animation\lcell.trk otherwise), builds
  // the helix (20 degrees, 15 units, 18 pairs), loads the mitochondrion and body meshes and the
  // cell texture, then the cells of the named entry. False when the cells could not be read;
  // a missing mesh or texture only draws nothing of its kind.
  bool loadCells(const char* name);
  // The cells part alone, from the bytes of a reg_cells.dat. No GL call.
  bool addCells(const std::uint8_t* bytes, std::size_t size);

  // Advances the membrane, the helix, every cell's spin and its mitochondria by dt seconds.
  void update(float dt);
  // A new colour for every cell.
  void recolour();

  // Places every cell around the camera at p looking along the unit direction d: position,
  // distance, visible (a cone of cos 0.4 whose apex is 10 units behind the camera) and
  // alpha (1 - 2 distance / 300, unclamped), then sorts the list far to near.
  void placeCells(Vec3 p, Vec3 d);

  // Draws the field for the camera at p looking along d. Expects the camera's modelview,
  // lighting and blending on and depth writes off; leaves culling and colour material on,
  // the additive blend and depth writes off.
  void draw(Vec3 p, Vec3 d);

  // The cells in their current order; the director places them around the end of its path.
  CellList& cells() { return cells_; }
  const CellList& cells() const { return cells_; }

  MorphMesh membrane;
  DnaHelix helix;
  Texture cellTexture;

 private:
  void drawCell(const Cell& cell) const;

  CellList cells_;
  std::uint32_t mitoList_ = 0;
  std::uint32_t bodyList_ = 0;
};
