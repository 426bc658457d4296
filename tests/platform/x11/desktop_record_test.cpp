// The record of what a run changed on the display: it reads back exactly what was written,
// and anything but a whole, well-formed record restores nothing.
#include <gtest/gtest.h>

#include "platform/x11/desktop_record.h"

namespace {

const std::string header = "plasmora-desktop 1\n";
// A mode left of the origin on two outputs, and a ramp of four entries.
const std::string good = header + "mode 63 450 -1920 0 2 3840 1080 1016 285 2 65 66\n" +
                         "gamma 64 4 0 100 200 65535 0 90 180 60000 0 50 100 50000\n";

TEST(DesktopRecord, ReadsBackWhatWasWritten) {
  DesktopRecord record;
  ASSERT_TRUE(parseDesktopRecord(good, record));
  ASSERT_TRUE(record.mode);
  EXPECT_EQ(record.mode->x, -1920);
  EXPECT_EQ(record.mode->outputs, (std::vector<unsigned long>{65, 66}));
  ASSERT_EQ(record.gamma.size(), 1u);
  EXPECT_EQ(record.gamma[0].blue, (std::vector<std::uint16_t>{0, 50, 100, 50000}));
  EXPECT_EQ(formatDesktopRecord(record), good);
  // An empty record is a record too: nothing to restore.
  ASSERT_TRUE(parseDesktopRecord(header, record));
  EXPECT_TRUE(record.empty());
}

TEST(DesktopRecord, AnythingButAWholeRecordRestoresNothing) {
  const std::string broken[] = {
      "",
      good.substr(0, good.size() - 1),           // the last line cut short
      good.substr(0, good.size() - 12) + "\n",   // cut in the middle of a ramp
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
    DesktopRecord record;
    ASSERT_TRUE(parseDesktopRecord(good, record));
    EXPECT_FALSE(parseDesktopRecord(text, record));
    EXPECT_TRUE(record.empty());
  }
}

}  // namespace
