// A run whose archive lacks or holds damaged entries: the user is told about each picture that
// cannot be loaded, and the show goes on with what did load.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "assets/archive_reader.h"
#include "settings/settings.h"
#include "show/saver_content.h"
#include "show/show_objects.h"
#include "tests/assets/test_archive.h"
#include "tests/support/gl_test.h"
#include "tests/support/temp_dir.h"

namespace {

class SaverContentGlTest : public GlTest {
 protected:
  SaverContentGlTest() {
    width = 200;
    height = 150;
  }

  // Share of the pixels in a rectangle (overlay units, 800 x 600) whose value passes `test`.
  template <typename Test>
  double share(int x0, int y0, int x1, int y1, Test test) {
    int count = 0, total = 0;
    for (int y = y0 * height / 600; y < y1 * height / 600; ++y)
      for (int x = x0 * width / 800; x < x1 * width / 800; ++x, ++total) {
        std::array<int, 4> p = pixel(x, y);
        count += test(p[0] + p[1] + p[2]);
      }
    return total > 0 ? double(count) / total : 0.0;
  }
};

enum class Change { Drop, Damage };

TEST_F(SaverContentGlTest, MissingAndDamagedEntriesAreReportedAndTheShowGoesOn) {
  const std::filesystem::path data = std::filesystem::path(PLASMORA_DATA_DIR) / "data.sdd";
  ASSERT_TRUE(std::filesystem::exists(data)) << "data.sdd was not built";
  struct Case {
    const char* entry;
    Change change;
    const char* message;  // what the user is told, null for nothing
  } cases[] = {
      {"textures\\env.jpg", Change::Drop, "Error: ARCH:Can't load JPG file: textures\\env.jpg"},
      {"textures\\c.jpg", Change::Damage, "Error: ARCH:Can't load JPG file: textures\\c.jpg"},
      {"meshes\\mito.dat", Change::Damage, nullptr},
  };

  ArchiveList entries;
  ASSERT_GT(listArchive(data.c_str(), entries), 40u);
  TestArchive archive;
  for (std::uint32_t i = 0; i < entries.size(); ++i) {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::uint32_t size = 0;
    ASSERT_TRUE(readArchiveEntryAt(i, data.c_str(), bytes, size)) << entries[i].name;
    std::vector<std::uint8_t> contents(bytes.get(), bytes.get() + size);
    const Case* changed = nullptr;
    for (const Case& c : cases)
      if (archiveNamesMatch(c.entry, entries[i].name.c_str())) changed = &c;
    if (changed != nullptr && changed->change == Change::Drop) continue;
    if (changed != nullptr) contents.resize(7);  // cut short: no longer a picture or a mesh
    archive.stored(entries[i].name, contents);
  }
  TempDir folder;
  folder.write("data.sdd", archive.bytes());

  settings = Settings{};
  settings.Detail = 2;
  settings.ShowClock = true;
  settings.ShowFPS = true;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.path);
  testing::internal::CaptureStderr();
  startContent();
  loadContent();
  const std::string told = testing::internal::GetCapturedStderr();
  std::filesystem::current_path(previous);

  for (const Case& c : cases) {
    if (c.message != nullptr) {
      EXPECT_NE(told.find(c.message), std::string::npos) << c.message;
    }
  }
  // Only those: everything else loaded.
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 2) << told;
  EXPECT_GT(cellsField.cells().size(), 0u);
  EXPECT_EQ(sceneState, Cells);

  for (int frame = 0; frame < 5; ++frame) {
    advanceObjects(0.05f);
    directAndDraw(0.05f);
  }
  readPixels();
  savePpm((std::string(PLASMORA_BINARY_DIR) + "/show_missing_entries.ppm").c_str());
  // The field of cells is there, with no white-washed shell where the sky texture is missing
  // and no blank glyph blocks where the clock's atlas is damaged.
  EXPECT_GT(share(0, 0, 800, 600, [](int sum) { return sum > 30; }), 0.1);
  EXPECT_LT(share(0, 0, 800, 600, [](int sum) { return sum >= 750; }), 0.2);
  EXPECT_LT(share(440, 10, 794, 70, [](int sum) { return sum >= 750; }), 0.5);
}

}  // namespace
