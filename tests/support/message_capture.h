#pragma once
// Catches what showMessageBox says while it lives, as "caption: text" lines, instead of
// letting it reach stderr.
#include <string>
#include <utility>

#include "platform/message_box.h"

class MessageCapture {
 public:
  MessageCapture() : previous_(setMessageSink(&record)) { said().clear(); }
  ~MessageCapture() { setMessageSink(previous_); }
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  // What was said since the capture began or since the last take.
  std::string take() { return std::exchange(said(), std::string()); }

 private:
  static std::string& said() {
    static std::string lines;
    return lines;
  }
  static void record(const char* text, const char* caption) {
    said() += std::string(caption) + ": " + text + "\n";
  }

  MessageSink previous_;
};
