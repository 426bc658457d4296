// The DNA scene and the nucleus drawn from the generated data.sdd, off screen, and the batched
// particle matrices against the GL matrix stack.
#include <GL/gl.h>

#include <filesystem>
#include <string>

#include "platform/gl_entry_points.h"
#include "platform/offscreen_context.h"
#include "render/camera.h"
#include "render/gl_state.h"
#include "scenes/dna_helix.h"
#include "scenes/nucleus.h"
#include "settings/settings.h"
#include "tests/support/gl_test.h"

namespace {

class SceneGlTest : public GlTest {
 protected:
  SceneGlTest() {
    width = 640;
    height = 360;
  }

  void SetUp() override {
    GlTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(std::filesystem::exists(data / "data.sdd")) << "data.sdd was not built";
    previous = std::filesystem::current_path();
    std::filesystem::current_path(data);
    initRenderState();
    lookUpGlEntryPoints(offscreenProcAddress);  // the batches draw from buffer objects
  }

  void TearDown() override {
    if (!previous.empty()) std::filesystem::current_path(previous);
    clearGlEntryPoints();
    GlTest::TearDown();
  }

  // What the frame sets before a scene draws: material, camera, lighting, colour material,
  // blending on (additive) and depth writes off.
  void beginScene(Vec3 eye, Vec3 look) {
    setDepthWrite(true);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const GLfloat white[] = {1, 1, 1, 1}, black[] = {0, 0, 0, 0};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
    glEnable(GL_COLOR_MATERIAL);
    selectMatrix(ModelViewMatrix);
    loadIdentity();
    lookFromCamera(eye, look, Vec3(0, 1, 0));
    setLighting(true);
    setDepthWrite(false);
    setBlending(true);
    blendAdditive();
  }

  // Share of lit pixels in columns [x0, x1) of the picture, as fractions of the width.
  double litShare(double x0, double x1) {
    const int from = static_cast<int>(x0 * width), to = static_cast<int>(x1 * width);
    std::size_t lit = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = from; x < to; ++x) {
        const auto p = pixel(x, y);
        lit += p[0] + p[1] + p[2] > 48;
      }
    }
    return double(lit) / (double(to - from) * height);
  }

  // Draws one frame and keeps its picture for looking at.
  template <typename Draw>
  void render(Vec3 eye, Vec3 look, const char* name, Draw draw) {
    beginScene(eye, look);
    draw();
    readPixels();
    savePpm((std::string(PLASMORA_BINARY_DIR) + "/" + name + ".ppm").c_str());
  }

  const std::filesystem::path data = PLASMORA_DATA_DIR;
  std::filesystem::path previous;
};

TEST_F(SceneGlTest, StrandReplicatesFromTheLeftCopyToTheRight) {
  DnaHelix helix;
  ASSERT_TRUE(helix.loadStrand("dna1.dat"));
  ASSERT_FALSE(helix.atomBatch.empty());
  const Vec3 eye(0, 380, 900), look(0, 0, -1);
  settings.Detail = 0;

  helix.startUnzip();
  render(eye, look, "dna_strand_start", [&] { helix.drawStrand(); });
  EXPECT_GT(litShare(0.0, 0.5), 0.03);
  EXPECT_EQ(litShare(0.55, 1.0), 0.0) << "nothing in the right copy before the flights";

  for (int frame = 0; frame < 220; ++frame) helix.update(0.1f);  // mid-flight
  settings.Detail = 1;
  render(eye, look, "dna_strand_flight", [&] { helix.drawStrand(); });

  for (int frame = 0; frame < 120; ++frame) helix.update(0.1f);  // time 34: all arrived
  settings.Detail = 0;
  render(eye, look, "dna_strand_done", [&] { helix.drawStrand(); });
  EXPECT_GT(litShare(0.0, 0.45), 0.03);
  EXPECT_GT(litShare(0.55, 1.0), 0.03);
}

TEST_F(SceneGlTest, NucleusShowsItsLitBodyAmongTheParticles) {
  clearGlEntryPoints();  // the particles from client arrays, the strand above from buffers
  settings.Detail = 1;
  Nucleus nucleus;
  nucleus.load();
  ASSERT_GT(nucleus.membrane.indexCount, 0u);
  ASSERT_FALSE(nucleus.blobMesh.empty());
  ASSERT_FALSE(nucleus.riboMesh.empty());
  nucleus.update(0.5f);
  nucleus.tint = Vec3(0.9f, 0.8f, 1.0f);
  const Vec3 eye(0, 300, 950);
  render(eye, normalize(-eye), "nucleus", [&] { nucleus.draw(); });
  const auto centre = pixel(width / 2, height / 2);
  EXPECT_GT(centre[0] + centre[1] + centre[2], 120);
  // Particles light up the edges of the picture, far from the body.
  EXPECT_GT(litShare(0.0, 0.15) + litShare(0.85, 1.0), 0.01);
}

TEST_F(SceneGlTest, ParticleMatricesMatchTheMatrixStack) {
  seedRandom(4);
  Nucleus nucleus;
  for (std::size_t i : {0u, 777u, 1199u, 1200u, 1399u}) {
    selectMatrix(ModelViewMatrix);
    pushMatrix();
    loadIdentity();
    rotate(nucleus.orbitAxis[i], nucleus.orbitTilt[i]);
    rotate(Vec3(1, 0, 0), nucleus.spinAngle[i]);
    translate(Vec3(0, nucleus.radius[i], 0));
    rotate(nucleus.selfAxis[i], (i < 1200 ? 1 : 16) * nucleus.spinAngle[i]);
    scaleUniform(0.6f);
    float gl[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, gl);
    popMatrix();
    const Transform t = nucleus.particleTransform(i);
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(t.m[k], gl[k], 1e-3f) << i << " [" << k << "]";
  }
}

}  // namespace
