// Only a run with music loads the audio module; one that cannot load it ends by itself.
#include "tests/host/saver_x11_fixture.h"

namespace {

TEST_F(SaverX11, AModuleThatCannotLoadEndsTheRunUnlessMusicIsOff) {
  TempDir data;
  fs::copy_file(fs::path(PLASMORA_DATA_DIR) / "data.sdd", data.path / "data.sdd");
  data.write("libbass.so", std::string("no library"));
  writeSettings("EnableMusic=0\nPath=\"" + data.path.string() + "\"\n");
  startSaver();  // runs: the module was never loaded
  input("key a");
  EXPECT_EQ(exitStatus(), 0);
  writeSettings("EnableMusic=1\nPath=\"" + data.path.string() + "\"\n");
  // Status 0 without any input: its loop never ran.
  EXPECT_TRUE(server->run("timeout 20 env XDG_CONFIG_HOME=" + config.string() +
                          " XDG_RUNTIME_DIR=" + config.string() + " " + saverPath + " /s"));
  EXPECT_FALSE(cursorIsBlank(display()));
}

}  // namespace
