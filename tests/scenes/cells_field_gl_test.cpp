// One frame of the field from the generated data.sdd, from a camera inside it.
#include <GL/gl.h>

#include <filesystem>
#include <string>

#include "render/camera.h"
#include "render/gl_state.h"
#include "scenes/cells_field.h"
#include "settings/settings.h"
#include "tests/support/gl_test.h"

namespace {

class CellsFieldGlTest : public GlTest {
 protected:
  CellsFieldGlTest() { width = 400, height = 300; }

  // Share of pixels that are not black when the camera looks along `look` and the field
  // selects its cells for `cone`.
  double litShare(CellsField& field, Vec3 look, Vec3 cone) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadIdentity();
    lookFromCamera(camera, look, Vec3(0, 1, 0));
    setLighting(true);
    setBlending(true);
    setDepthWrite(false);
    field.draw(camera, cone);
    const auto& rgba = readPixels();
    std::size_t lit = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4)
      lit += rgba[i] + rgba[i + 1] + rgba[i + 2] > 24;
    return double(lit) / (rgba.size() / 4);
  }

  const Vec3 camera{5, 12, 30};
};

TEST_F(CellsFieldGlTest, DrawsTranslucentCellsInTheViewConeOnly) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(PLASMORA_DATA_DIR);
  settings.Detail = 2;
  initRenderState();
  CellsField field;
  const bool loaded = field.loadCells("reg_cells.dat");
  std::filesystem::current_path(previous);
  ASSERT_TRUE(loaded && field.membrane.indexCount > 0) << "data.sdd was not built";
  field.update(0.5f);

  const Vec3 ahead = normalize(Vec3(0.25f, -0.1f, -1));
  EXPECT_GT(litShare(field, ahead, ahead), 0.2);
  savePpm((std::string(PLASMORA_BINARY_DIR) + "/cells_field.ppm").c_str());
  // Every cell chosen for `ahead` lies in front: looking back shows none of them.
  EXPECT_EQ(litShare(field, -ahead, ahead), 0.0);
}

}  // namespace
