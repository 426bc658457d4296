#include "platform/message_box.h"

#include <cstdio>

namespace {

MessageSink currentSink = printMessage;

}  // namespace

void printMessage(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
}

MessageSink setMessageSink(MessageSink sink) {
  MessageSink previous = currentSink;
  currentSink = sink ? sink : printMessage;
  return previous;
}

void showMessageBox(const char* text, const char* caption) {
  currentSink(text ? text : "", caption ? caption : "");
}
