#pragma once
// The message queue of the one thread that owns the windows.
#include "platform/window.h"

// Takes the next pending message without waiting; false when there is none.
bool peekMessage(WindowMessage& message);

// Hands the message to the procedure of its window's class.
long dispatchMessage(const WindowMessage& message);

// Makes peekMessage return a Quit message.
void postQuitMessage();

// From now on SIGTERM, SIGINT, SIGHUP and SIGQUIT post a Quit message instead of ending the
// process.
void quitOnTerminationSignals();
