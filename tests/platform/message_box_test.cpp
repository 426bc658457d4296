// The message sink: stderr by default, replaceable, and null restores the default.
#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "tests/support/message_capture.h"

namespace {

TEST(MessageBox, GoesToStderrUnlessASinkIsInstalled) {
  testing::internal::CaptureStderr();
  showMessageBox("Unsupported image depth.", "TGA");
  showMessageBox(nullptr, nullptr);
  {
    MessageCapture messages;
    showMessageBox("ARCH:Can't load JPG file: x.jpg", "Error");
    EXPECT_EQ(messages.take(), "Error: ARCH:Can't load JPG file: x.jpg\n");
  }
  showMessageBox("back", "Sink");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "TGA: Unsupported image depth.\n: \nSink: back\n");
  EXPECT_EQ(setMessageSink(nullptr), &printMessage);
}

}  // namespace
