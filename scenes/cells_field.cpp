#include "scenes/cells_field.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "assets/asset_buffer.h"
#include "assets/mesh_model.h"
#include "render/gl_state.h"
#include "settings/settings.h"

namespace {

constexpr float halfPeriod = LatticeFrame::period / 2;
constexpr std::size_t recordBytes = 28;
constexpr float coneCosine = 0.4f;
constexpr float apexBehind = 10.0f;
constexpr float spinPerSecond = 20.0f;

// Angles are brought back by one subtraction only; a very large step leaves them above 360
// until later frames bring them down.
float wrapOnce(float degrees) { return degrees > 360.0f ? degrees - 360.0f : degrees; }

float colourChannel() { return 1.0f - 0.7f * randomUnit(); }

float nearestCopyAxis(float home, float s, float q) {
  if (std::fabs(home - s) > halfPeriod) {
    return home > s ? home + (q - LatticeFrame::period) : home + (q + LatticeFrame::period);
  }
  return home + q;
}

// Sort key far to near; a distance that is not a number sorts as nearest, so the comparison
// stays a strict weak order whatever the camera holds.
float sortKey(const Cell& cell) {
  return std::isnan(cell.distance) ? -std::numeric_limits<float>::infinity() : cell.distance;
}

void callList(std::uint32_t list) {
  if (list != 0) glCallList(list);
}

// Every pass of a cell is blended by the cell's alpha (source factor alpha, texture modulated,
// no depth writes), so a cell at or beyond half the period, whose alpha is not above 0, would
// change no pixel: it is not sent at all.
bool drawn(const Cell& cell) { return cell.visible && cell.alpha > 0.0f; }

}  // namespace

Cell::Cell() {
  for (int i = 0; i < mitoCount; ++i) {
    mitoAngle[i] = 360.0f * randomUnit();
    mitoAxis[i] = randomDirection();
    mitoSpeed[i] = 5.0f + 55.0f * randomUnit();
    mitoRadius[i] = 5.0f + 10.0f * randomUnit();
  }
  drawColour();
}

void Cell::drawColour() {
  // Named draws: the order of a constructor's arguments is not fixed.
  const float blue = colourChannel();
  const float green = colourChannel();
  const float red = colourChannel();
  colour = Vec3(red, green, blue);
}

bool parseCellRecords(const std::uint8_t* bytes, std::size_t size,
                      std::vector<CellRecord>& records) {
  records.clear();
  if (bytes == nullptr || size < 4) return false;
  std::uint32_t count;
  std::memcpy(&count, bytes, 4);
  if (count > (size - 4) / recordBytes) return false;
  records.reserve(count);
  const std::uint8_t* at = bytes + 4;
  for (std::uint32_t k = 0; k < count; ++k, at += recordBytes) {
    float v[7];
    std::memcpy(v, at, sizeof v);
    for (float f : v) {
      if (!std::isfinite(f)) {
        records.clear();
        return false;
      }
    }
    records.push_back({Vec3(v[0], v[1], v[2]), Vec3(v[3], v[4], v[5]), v[6]});
  }
  return true;
}

LatticeFrame latticeFrame(Vec3 p) {
  const float period = LatticeFrame::period;
  const Vec3 q(period * std::trunc(p.x / period), period * std::trunc(p.y / period),
               period * std::trunc(p.z / period));
  return {q, p - q};
}

Vec3 nearestCopy(const LatticeFrame& frame, Vec3 home) {
  const Vec3& q = frame.origin;
  const Vec3& s = frame.offset;
  return Vec3(nearestCopyAxis(home.x, s.x, q.x), nearestCopyAxis(home.y, s.y, q.y),
              nearestCopyAxis(home.z, s.z, q.z));
}

bool CellsField::loadCells(const char* name) {
  membrane.load(settings.Detail == 2 ? "animation\\cell.trk" : "animation\\lcell.trk");
  helix.buildProcedural(20.0f, 15.0f, 18);
  // The display lists outlive the mesh objects: they belong to the rendering context.
  MeshModel mito, body;
  mito.load("meshes\\mito.dat");
  body.load("meshes\\sphere.dat");
  mitoList_ = mito.list;
  bodyList_ = body.list;
  cellTexture.load("textures\\cell.jpg");

  AssetBuffer entry;
  if (!entry.open(name)) return false;
  const bool ok = addCells(entry.data, entry.size);
  entry.release();
  return ok;
}

bool CellsField::addCells(const std::uint8_t* bytes, std::size_t size) {
  std::vector<CellRecord> records;
  if (!parseCellRecords(bytes, size, records)) return false;
  cells_.reserve(cells_.size() + records.size());
  for (const CellRecord& record : records) {
    auto cell = std::make_unique<Cell>();
    cell->home = record.home;
    cell->position = record.home;
    cell->axis = record.axis;
    cell->angle = record.angle;
    cell->membrane = &membrane;
    cell->helix = &helix;
    cell->mitoList = mitoList_;
    cell->bodyList = bodyList_;
    cells_.push_back(std::move(cell));
  }
  return true;
}

void CellsField::update(float dt) {
  membrane.advance(dt * 0.6f);
  helix.update(dt);
  for (const auto& cell : cells_) {
    cell->angle = wrapOnce(cell->angle + spinPerSecond * dt);
    for (int i = 0; i < Cell::mitoCount; ++i) {
      cell->mitoAngle[i] = wrapOnce(cell->mitoAngle[i] + cell->mitoSpeed[i] * dt);
    }
  }
}

void CellsField::recolour() {
  for (const auto& cell : cells_) cell->drawColour();
}

void CellsField::placeCells(Vec3 p, Vec3 d) {
  const LatticeFrame frame = latticeFrame(p);
  const Vec3 apex = p - d * apexBehind;
  for (const auto& cell : cells_) {
    cell->position = nearestCopy(frame, cell->home);
    cell->distance = length(p - cell->position);
    // A cell at the apex itself has no direction: it is not a number and so not visible.
    cell->visible = dot(normalize(cell->position - apex), d) >= coneCosine;
    cell->alpha = 1.0f - 2.0f * cell->distance / LatticeFrame::period;
  }
  // Stable, so equal distances keep last frame's order; the list is nearly sorted already.
  std::stable_sort(cells_.begin(), cells_.end(),
                   [](const std::unique_ptr<Cell>& a, const std::unique_ptr<Cell>& b) {
                     return sortKey(*a) > sortKey(*b);
                   });
}

void CellsField::draw(Vec3 p, Vec3 d) {
  placeCells(p, d);
  blendAdditive();
  glEnable(GL_COLOR_MATERIAL);
  setDepthWrite(false);

  // The helix's two passes, atoms then rungs, in every visible cell from far to near.
  const auto helixPass = [this](const Texture& texture, float alphaShare,
                                void (DnaHelix::*part)()) {
    texture.bind();
    for (const auto& cell : cells_) {
      if (!drawn(*cell)) continue;
      helix.alpha = alphaShare * cell->alpha;
      pushMatrix();
      translate(cell->position);
      rotate(cell->axis, cell->angle);
      translate(Vec3(0, -7, 0));
      scaleUniform(0.05f);
      (helix.*part)();
      popMatrix();
    }
  };
  helixPass(helix.atomTexture, 0.5f, &DnaHelix::drawAtoms);
  helixPass(helix.rungTexture, 1.0f, &DnaHelix::drawRungs);

  // Bound once, after the helix passes, so that nothing they draw can move the pointers.
  membrane.bindArrays();
  cellTexture.bind();
  for (const auto& cell : cells_) drawCell(*cell);
  setCulling(true);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
}

void CellsField::drawCell(const Cell& cell) const {
  if (!drawn(cell)) return;
  setSpecular(cell.colour * 0.7f);
  pushMatrix();
  translate(cell.position);
  rotate(cell.axis, cell.angle);

  pushMatrix();
  scaleUniform(0.8f);
  setLighting(false);
  blendAlpha();
  setColour4(Vec3(1, 1, 1) - cell.colour, cell.alpha);
  setCulling(true);
  callList(cell.bodyList);
  setLighting(true);
  popMatrix();

  if (settings.Detail == 2) {
    setColour4(Vec3(0.1f, 0.5f, 1.0f), cell.alpha);
    for (int i = 0; i < Cell::mitoCount; ++i) {
      pushMatrix();
      translate(
          rotateAboutAxis(Vec3(cell.mitoRadius[i], 0, 0), cell.mitoAxis[i], cell.mitoAngle[i]));
      rotate(cell.mitoAxis[i], cell.mitoAngle[i]);
      callList(cell.mitoList);
      popMatrix();
    }
  }

  setColour4(cell.colour, cell.alpha);
  if (cell.membrane) cell.membrane->drawElements();

  // The glow shell: the same membrane a little larger, environment-mapped and added on top.
  pushMatrix();
  scaleUniform(1.03f);
  blendAdditive();
  setSphereMap(true);
  if (cell.membrane) cell.membrane->drawElements();
  popMatrix();
  setSphereMap(false);

  popMatrix();
}
