// The packed archive holds every entry the saver asks for, each reading back through the
// saver's own archive reader and parsers.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "anim/key_track.h"
#include "assets/asset_buffer.h"
#include "assets/mesh_model.h"
#include "assets/morph_mesh.h"

namespace {

const std::string archive = std::string(PLASMORA_DATA_DIR) + "/data.sdd";

bool open(AssetBuffer& buffer, const std::string& name) {
  return buffer.openFromArchive(name.c_str(), archive.c_str());
}

}  // namespace

TEST(Archive, HoldsEveryEntryTheSaverReads) {
  ASSERT_TRUE(std::filesystem::exists(archive)) << archive << " was not built";
  std::vector<std::string> names = {
      "music.ogg",          "textures\\load.jpg",  "textures\\c.jpg",     "textures\\cell.jpg",
      "textures\\env.jpg",  "textures\\d_env.jpg", "textures\\hcore.jpg", "textures\\dna.jpg",
      "textures\\link.jpg", "reg_cells.dat"};
  for (int i = 0; i <= 9; ++i) names.push_back("dna" + std::to_string(i) + ".dat");
  for (const std::string& name : names) {
    AssetBuffer buffer;
    EXPECT_TRUE(open(buffer, name)) << name;
    EXPECT_GT(buffer.size, 0u) << name;
  }
  AssetBuffer cells;
  ASSERT_TRUE(open(cells, "reg_cells.dat"));
  std::uint32_t count = 0;
  cells.read(&count, 4, 1);
  EXPECT_EQ(cells.size, 4 + 28 * count);
}

TEST(Archive, MeshEntriesParse) {
  for (const char* name : {"meshes\\sphere.dat", "meshes\\lows.dat", "meshes\\mito.dat",
                           "meshes\\ribo.dat", "meshes\\chrom.dat"}) {
    AssetBuffer buffer;
    ASSERT_TRUE(open(buffer, name)) << name;
    MeshData mesh;
    EXPECT_TRUE(parseMeshData(buffer.data, buffer.size, mesh)) << name;
  }
  for (const char* name : {"animation\\cell.trk", "animation\\lcell.trk", "animation\\core.trk",
                           "animation\\lcore.trk"}) {
    AssetBuffer buffer;
    ASSERT_TRUE(open(buffer, name)) << name;
    MorphMesh mesh;
    EXPECT_TRUE(mesh.parse(buffer.data, buffer.size)) << name;
  }
}

TEST(Archive, EveryCameraScriptReadsAsAValidTrack) {
  const struct {
    const char* folder;
    int count;
  } scenes[] = {{"cells", 11}, {"core", 3}, {"dna", 6}};
  for (const auto& scene : scenes) {
    for (int i = 0; i < scene.count; ++i) {
      const std::string name =
          std::string("scenes\\") + scene.folder + "\\scene" + std::to_string(i) + ".txt";
      AssetBuffer buffer;
      ASSERT_TRUE(open(buffer, name)) << name;
      KeyTrack track;
      track.read(buffer);
      EXPECT_TRUE(track.prepare()) << name;
    }
  }
}
