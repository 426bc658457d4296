// The record of what a run changed on the display: it reads back exactly what was written,
// and anything but a whole, well-formed record restores nothing.
#include <gtest/gtest.h>

#include "platform/x11/desktop_record.h"

namespace {

DesktopRecord sample() {
  DesktopRecord record;
  SavedCrtcMode mode;
  mode.crtc = 63;
  mode.mode = 0x1c2;
  mode.x = -1920;
  mode.y = 0;
  mode.rotation = 2;
  mode.outputs = {65, 66};
  mode.screenWidth = 3840;
  mode.screenHeight = 1080;
  mode.screenMmWidth = 1016;
  mode.screenMmHeight = 285;
  record.mode = mode;
  SavedCrtcGamma gamma;
  gamma.crtc = 63;
  for (int i = 0; i < 1024; ++i) {
    gamma.red.push_back(static_cast<std::uint16_t>(i * 64));
    gamma.green.push_back(static_cast<std::uint16_t>(i * 60));
    gamma.blue.push_back(static_cast<std::uint16_t>(65535 - i));
  }
  record.gamma = {gamma, gamma};
  record.gamma[1].crtc = 64;
  return record;
}

TEST(DesktopRecord, ReadsBackWhatWasWritten) {
  const DesktopRecord record = sample();
  DesktopRecord back;
  ASSERT_TRUE(parseDesktopRecord(formatDesktopRecord(record), back));
  ASSERT_TRUE(back.mode);
  EXPECT_EQ(back.mode->x, -1920);
  EXPECT_EQ(back.mode->outputs, record.mode->outputs);
  EXPECT_EQ(back.mode->screenMmHeight, 285);
  ASSERT_EQ(back.gamma.size(), 2u);
  EXPECT_EQ(back.gamma[1].crtc, 64u);
  EXPECT_EQ(back.gamma[0].blue, record.gamma[0].blue);
  // An empty record is a record too: nothing to restore.
  ASSERT_TRUE(parseDesktopRecord(formatDesktopRecord(DesktopRecord{}), back));
  EXPECT_TRUE(back.empty());
}

TEST(DesktopRecord, AnythingButAWholeRecordRestoresNothing) {
  const std::string good = formatDesktopRecord(sample());
  const std::string header = "plasmora-desktop 1\n";
  const std::string broken[] = {
      "",
      good.substr(0, good.size() - 1),           // the last line cut short
      good.substr(0, good.size() / 2),           // cut in the middle of a ramp
      "plasmora-desktop 2\n",                    // a later format
      header + "gamma 63 0\n",                   // an empty ramp
      header + "gamma 63 99999999\n",            // a size no CRTC has
      header + "gamma 63 1 5 6\n",               // a channel missing
      header + "gamma 63 1 5 6 70000\n",         // an entry beyond 16 bits
      header + "gamma 63 1 5 6 7 8\n",           // one number too many
      header + "mode 1 2 0 0 1 0 768 0 0 0\n",   // no screen width
      header + "mode 1 2 0 0 1 9 9 0 0 1000\n",  // more outputs than CRTCs
      header + "volume 3\n",
  };
  for (const std::string& text : broken) {
    SCOPED_TRACE(text.substr(0, 60));
    DesktopRecord record = sample();
    EXPECT_FALSE(parseDesktopRecord(text, record));
    EXPECT_TRUE(record.empty());
  }
}

}  // namespace
