#pragma once
// Messages for the few failures the user is told about. Every message goes through one
// replaceable sink: by default it is written on stderr as "caption: text" (the tools, the
// tests); the saver installs the sink that also shows a modal box
// (platform/x11/message_box_window.h), and a test may install its own to see what was said.

using MessageSink = void (*)(const char* text, const char* caption);

// Hands the message to the sink in force; a null text or caption counts as empty.
void showMessageBox(const char* text, const char* caption);

// Installs `sink` (null restores the default) and returns the sink it replaces.
MessageSink setMessageSink(MessageSink sink);

// The default sink: "caption: text" and a newline on stderr, flushed at once.
void printMessage(const char* text, const char* caption);
