#include "recorder/recorder.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <regex>
#include <system_error>

#include "anim/director.h"
#include "platform/display_mode.h"
#include "platform/offscreen_context.h"
#include "recorder/contact_sheet.h"
#include "recorder/frame_log.h"
#include "recorder/progress_line.h"
#include "recorder/rgb_image.h"
#include "recorder/simulated_clock.h"
#include "recorder/video_pipe.h"
#include "render/frame_presenter.h"
#include "render/math.h"
#include "settings/settings.h"
#include "show/saver_content.h"
#include "show/show_objects.h"

namespace fs = std::filesystem;

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "plasmora-record: %s\n", message.c_str());
  return 1;
}

const char* sceneName(SceneState state) {
  switch (state) {
    case Cells:
      return "Cells";
    case Core:
      return "Core";
    case Dna:
      return "Dna";
  }
  return "?";
}

// Settings from the table's defaults and the options; the last option naming a setting wins.
void applyRecordSettings(const RecordOptions& o, const std::string& dataFolder) {
  std::vector<StoredValue> values(o.settingValues.rbegin(), o.settingValues.rend());
  DisplayMode mode{o.width, o.height, 32};
  applyStoredValues(settings, values, &mode, dataFolder);
  // A recording is silent and has no display whose ramp or retrace could matter.
  settings.EnableMusic = false;
  settings.VSync = false;
  settings.Width = o.width;
  settings.Height = o.height;
}

// Removes what an earlier recording left in the folder, so no stale frame passes as new.
void removeOldOutput(const fs::path& folder) {
  static const std::regex ours(R"(frame_\d{6,}\.png|contact_sheet\.png|frames\.csv)");
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    std::string name = entry.path().filename().string();
    if (entry.is_regular_file(error) && std::regex_match(name, ours)) fs::remove(entry, error);
  }
}

struct Recording {
  explicit Recording(const RecordOptions& o) : options(o) {}
  const RecordOptions& options;
  OffscreenContext* context = nullptr;
  fs::path folder;
  float dt = 0;
  std::int64_t frame = 0;  // rendered frame being drawn
  std::int64_t written = 0;
  int presented = 0;  // presentations during the current frame
  FrameLog log;
  std::optional<ContactSheet> sheet;
  std::unique_ptr<VideoPipe> video;
  std::string error;
  std::vector<std::uint8_t> rgba;  // the read-back, reused from frame to frame
};

void writeFrame(Recording& r) {
  readOffscreenPixels(r.context, r.rgba);
  RgbImage image = imageFromFramebuffer(r.rgba, r.options.width, r.options.height);
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(r.written));
  if (!writePng((r.folder / name).c_str(), image)) {
    r.error = "stopped: a frame could not be written";
    return;
  }
  r.log.add(name, r.frame, (r.frame + 1) * static_cast<double>(r.dt), sceneName(sceneState),
            trackTime, director.position);
  if (r.sheet) r.sheet->add(r.written, image);
  if (r.video && !r.video->write(image)) r.error = "stopped: ffmpeg stopped taking frames";
  ++r.written;
}

void presentRecordedFrame(void* user) {
  auto& r = *static_cast<Recording*>(user);
  ++r.presented;
  if (r.presented == 1 && r.error.empty() && r.frame % r.options.every == 0) writeFrame(r);
}

}  // namespace

int runRecording(const RecordOptions& o) {
  std::error_code error;
  fs::path dataFolder = fs::absolute(o.dataFolder.empty() ? PLASMORA_DATA_DIR : o.dataFolder);
  if (!fs::is_regular_file(dataFolder / "data.sdd", error))
    return fail("no data.sdd in " + dataFolder.string() + " (build the project, or give --data)");
  std::string ffmpeg;
  if (!o.videoFile.empty()) {
    ffmpeg = findOnPath("ffmpeg");
    if (ffmpeg.empty())
      return fail(
          "--video needs ffmpeg, which is not installed (on Debian: apt-get install "
          "ffmpeg); nothing was recorded");
  }

  Recording r(o);
  r.folder = fs::absolute(o.outFolder);
  fs::create_directories(r.folder, error);
  if (!fs::is_directory(r.folder, error))
    return fail("cannot make the folder " + r.folder.string());
  removeOldOutput(r.folder);
  fs::path videoFile = o.videoFile.empty() ? fs::path() : fs::absolute(o.videoFile);
  if (!r.log.open((r.folder / "frames.csv").string()))
    return fail("cannot write " + (r.folder / "frames.csv").string());

  applyRecordSettings(o, dataFolder.string());
  // The archive is read from the current directory, as in the saver's run.
  fs::current_path(dataFolder, error);
  if (error) return fail("cannot enter " + dataFolder.string());

  const std::int64_t total = totalFrames(o);
  const std::int64_t toWrite = writtenFrames(o);
  r.dt = 1.0f / static_cast<float>(o.fps);
  if (o.sheetColumns > 0) r.sheet.emplace(o.sheetColumns, o.sheetRows, toWrite, o.width, o.height);

  seedRandom(o.seed);
  r.context = createOffscreenContext(o.width, o.height, o.samples);
  if (r.context == nullptr) return fail("no off-screen OpenGL context");
  if (!ffmpeg.empty()) {
    r.video = std::make_unique<VideoPipe>();
    std::string rate = o.every == 1 ? std::to_string(o.fps)
                                    : std::to_string(o.fps) + "/" + std::to_string(o.every);
    if (!r.video->start(ffmpeg, videoFile.string(), o.width, o.height, rate)) {
      destroyOffscreenContext(r.context);
      return fail("cannot start " + ffmpeg);
    }
  }

  startSimulatedClock(o.clockStart);
  startContent();
  loadContent();
  setFramePresenter(&presentRecordedFrame, &r);
  ProgressLine progress(total);
  for (r.frame = 0; r.frame < total && r.error.empty(); ++r.frame) {
    advanceSimulatedClock(r.dt);
    r.presented = 0;
    advanceObjects(r.dt);
    directAndDraw(r.dt);
    if (r.presented == 0) r.error = "the show presented no frame";
    progress.update(r.frame + 1);
  }
  progress.finish();
  setFramePresenter(nullptr, nullptr);
  stopContent();
  stopSimulatedClock();
  destroyOffscreenContext(r.context);

  bool ok = r.error.empty();
  if (!ok) fail(r.error);
  if (!r.log.close()) ok = !fail("frames.csv could not be written completely");
  fs::path sheetFile = r.folder / "contact_sheet.png";
  bool sheetWritten = r.sheet && writePng(sheetFile.c_str(), r.sheet->image());
  if (r.sheet && !sheetWritten) ok = false;
  bool videoWritten = r.video && r.video->finish();
  if (r.video && !videoWritten) ok = !fail("ffmpeg could not encode " + videoFile.string());

  std::printf("plasmora-record: %lld frames of %dx%d in %s\n", static_cast<long long>(r.written),
              o.width, o.height, r.folder.c_str());
  if (sheetWritten) std::printf("plasmora-record: contact sheet %s\n", sheetFile.c_str());
  if (videoWritten) std::printf("plasmora-record: video %s\n", videoFile.c_str());
  return ok ? 0 : 1;
}
