#include "tools/content/content_pipeline.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "assets/tools/ase_import.h"
#include "tools/common/output_file.h"
#include "tools/content/ase_writer.h"
#include "tools/content/camera_flights.h"
#include "tools/content/content_meshes.h"
#include "tools/content/dna_profiles.h"
#include "tools/content/flight_check.h"

namespace {

// The layout of the field is drawn from this seed, once, by the build.
constexpr unsigned cellSeed = 20;
constexpr float cellsRate = 3, coreRate = 2, dnaRate = 1;
constexpr float maxTurn = 45;  // degrees per wall second

bool writeText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::string error;
  return writeFileBytes(path, std::vector<unsigned char>(text.begin(), text.end()), error);
}

bool fail(const std::string& what) {
  std::fprintf(stderr, "gen_content: %s\n", what.c_str());
  return false;
}

float maxRadius(const MorphSource& source) {
  float r = 0;
  for (const auto& key : source.keys) {
    for (const Vec3& p : key) r = std::fmax(r, length(p));
  }
  return r;
}

bool writeScript(const std::string& folder, const char* scene, int index,
                 const std::vector<ScriptKey>& keys) {
  char name[64];
  std::snprintf(name, sizeof name, "scenes/%s/scene%d.txt", scene, index);
  char title[64];
  std::snprintf(title, sizeof title, "camera path %d of the %s scene", index, scene);
  return writeText(folder + "/" + name, scriptText(keys, title)) ||
         fail(std::string("cannot write ") + name);
}

}  // namespace

float membraneReach() { return maxRadius(cellMembrane(10)); }
float nucleusReach() { return maxRadius(nucleusBody(14)); }

bool generateMeshes(const std::string& folder) {
  const struct {
    const char* name;
    SurfaceMesh (*make)();
  } meshes[] = {{"sphere", sphereMesh},
                {"lows", lowsMesh},
                {"mito", mitoMesh},
                {"ribo", riboMesh},
                {"chrom", chromMesh}};
  for (const auto& m : meshes) {
    const std::string source = folder + "/meshes/" + m.name + ".ase";
    if (!writeText(source, staticAseText(m.make(), m.name))) return fail("cannot write " + source);
    MeshData mesh;
    if (!importAse(source.c_str(), mesh)) return fail("cannot import " + source);
  }
  return true;
}

bool generateMorphMeshes(const std::string& folder) {
  const struct {
    const char* name;
    MorphSource source;
  } morphs[] = {{"cell", cellMembrane(10)},
                {"lcell", cellMembrane(6)},
                {"core", nucleusBody(14)},
                {"lcore", nucleusBody(8)}};
  for (const auto& m : morphs) {
    const std::string source = folder + "/animation/" + m.name + ".ase";
    if (!writeText(source, animatedAseText(m.source.triangles, m.source.keys, m.name)))
      return fail("cannot write " + source);
    MorphShapes shapes;
    if (!importAnimatedAse(source.c_str(), shapes)) return fail("cannot import " + source);
    const std::string target = folder + "/animation/" + m.name + ".trk";
    if (!writeTrk(target.c_str(), shapes)) return fail("cannot write " + target);
  }
  return true;
}

bool generateCellField(const std::string& folder) {
  seedRandom(cellSeed);
  const std::vector<CellPlacement> cells = generateCells();
  if (!writeCells((folder + "/reg_cells.dat").c_str(), cells))
    return fail("cannot write reg_cells.dat");

  // Clear of every membrane (with its glow shell and a margin for the near plane), except
  // the cell the flight ends in, whose body alone it must keep away from.
  const float avoid = membraneReach() * 1.03f + 2;
  for (int index = 0; index <= 10; ++index) {
    bool done = false;
    for (int attempt = 0; attempt < 60 && !done; ++attempt) {
      int target = -1;
      const std::vector<ScriptKey> keys = cellsFlight(cells, index, avoid, attempt, target);
      if (keys.empty()) continue;
      const std::string text = scriptText(keys, "");
      const FlightReport report = checkFlight(text, cellsRate, [&](Vec3 p) {
        return cellClearance(p, cells, target) >= avoid && cellClearance(p, cells, -1) >= 10;
      });
      const float wall = report.duration / cellsRate;
      if (!report.readable || !report.placesAllowed || report.worstTurn > maxTurn || wall < 20 ||
          wall > 40)
        continue;
      done = writeScript(folder, "cells", index, keys);
      if (!done) return false;
      std::printf("cells scene%d: %.1f s, turns up to %.0f deg/s, attempt %d, ends in cell %d\n",
                  index, wall, report.worstTurn, attempt, target);
    }
    if (!done) return fail("no clear flight for cells scene " + std::to_string(index));
  }
  return true;
}

bool generateStrands(const std::string& folder) {
  for (int i = 0; i < 10; ++i) {
    const std::string path = folder + "/dna" + std::to_string(i) + ".dat";
    if (!writeDnaProfile(path.c_str(), dnaProfile(i))) return fail("cannot write " + path);
  }
  return true;
}

bool generateSceneScripts(const std::string& folder) {
  const float body = nucleusReach() * 10 * 1.03f + 40;
  for (int index = 0; index <= 2; ++index) {
    const std::vector<ScriptKey> keys = coreFlight(index);
    const FlightReport report = checkFlight(scriptText(keys, ""), coreRate, [&](Vec3 p) {
      return length(p) >= body && length(p - Vec3(0, 230, 0)) < 1200;
    });
    const float wall = report.duration / coreRate;
    std::printf("core scene%d: %.1f s, turns up to %.0f deg/s\n", index, wall, report.worstTurn);
    if (!report.readable || !report.placesAllowed || report.worstTurn > maxTurn || wall < 20 ||
        wall > 40)
      return fail("nucleus flight " + std::to_string(index) + " leaves its bounds");
    if (!writeScript(folder, "core", index, keys)) return false;
  }

  // The strands sweep cylinders round their copies' vertical axes as they spin.
  float reach = 0, low = 1e30f, high = -1e30f;
  for (int i = 0; i < 10; ++i) {
    for (const Vec3& a : strandAtomPositions(dnaProfile(i))) {
      reach = std::fmax(reach, std::hypot(a.x, a.z));
      low = std::fmin(low, a.y);
      high = std::fmax(high, a.y);
    }
  }
  reach += 7 + 25;  // atom radius and room for the near plane
  for (int index = 0; index <= 5; ++index) {
    const std::vector<ScriptKey> keys = dnaFlight(index);
    const FlightReport report = checkFlight(scriptText(keys, ""), dnaRate, [&](Vec3 p) {
      if (length(p - Vec3(0, 230, 0)) > 1200) return false;
      if (p.y < low - 30 || p.y > high + 30) return true;
      return std::hypot(p.x + 300, p.z) > reach && std::hypot(p.x - 300, p.z) > reach;
    });
    std::printf("dna scene%d: %.1f s, turns up to %.0f deg/s\n", index, report.duration,
                report.worstTurn);
    if (!report.readable || !report.placesAllowed || report.worstTurn > maxTurn ||
        report.duration < 35 || report.duration > 45)
      return fail("strand flight " + std::to_string(index) + " leaves its bounds");
    if (!writeScript(folder, "dna", index, keys)) return false;
  }
  return true;
}
