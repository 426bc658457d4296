// A run whose archive lacks or holds damaged entries: the user is told about each picture that
// cannot be loaded, and the show goes on with what did load.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "assets/archive/archive_reader.h"
#include "settings/settings.h"
#include "show/saver_content.h"
#include "show/show_objects.h"
#include "tests/assets/archive/test_archive.h"
#include "tests/support/gl_test.h"
#include "tests/support/temp_dir.h"

namespace {

class SaverContentGlTest : public GlTest {
 protected:
  // Share of the pixels in a rectangle (overlay units, 800 x 600) whose r + g + b passes `test`.
  double share(int x0, int y0, int x1, int y1, bool (*test)(int)) {
    int count = 0, total = 0;
    for (int y = y0 * height / 600; y < y1 * height / 600; ++y)
      for (int x = x0 * width / 800; x < x1 * width / 800; ++x, ++total)
        count += test(pixel(x, y)[0] + pixel(x, y)[1] + pixel(x, y)[2]);
    return total > 0 ? double(count) / total : 0.0;
  }
};

TEST_F(SaverContentGlTest, MissingAndDamagedEntriesAreReportedAndTheShowGoesOn) {
  const std::filesystem::path data = std::filesystem::path(PLASMORA_DATA_DIR) / "data.sdd";
  ASSERT_TRUE(std::filesystem::exists(data)) << "data.sdd was not built";
  // Pictures that fail are reported; a mesh that fails only draws nothing.
  struct Case {
    const char* entry;
    bool dropped;  // else cut short: no longer a picture or a mesh
    bool reported;
  } cases[] = {{"textures\\env.jpg", true, true},
               {"textures\\c.jpg", false, true},
               {"meshes\\mito.dat", false, false}};

  ArchiveList entries;
  listArchive(data.c_str(), entries);
  TestArchive archive;
  for (std::uint32_t i = 0; i < entries.size(); ++i) {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::uint32_t size = 0;
    ASSERT_TRUE(readArchiveEntryAt(i, data.c_str(), bytes, size)) << entries[i].name;
    std::vector<std::uint8_t> contents(bytes.get(), bytes.get() + size);
    const Case* changed = nullptr;
    for (const Case& c : cases)
      if (archiveNamesMatch(c.entry, entries[i].name.c_str())) changed = &c;
    if (changed != nullptr && changed->dropped) continue;
    if (changed != nullptr) contents.resize(7);
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

  for (const Case& c : cases)
    EXPECT_EQ(told.find(std::string("Error: ARCH:Can't load JPG file: ") + c.entry + "\n") !=
                  std::string::npos,
              c.reported)
        << c.entry;
  // Only those: everything else loaded.
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 2) << told;
  EXPECT_GT(cellsField.cells().size(), 0u);

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
