// plasmora-record: renders the show off-screen into PNG frames (see --help).
#include <cstdio>
#include <string>

#include "recorder/record_options.h"
#include "recorder/recorder.h"

int main(int argc, char** argv) {
  RecordOptions options;
  std::string error;
  switch (parseRecordOptions(argc, argv, options, error)) {
    case ParseResult::Help:
      std::fputs(recordUsage(), stdout);
      return 0;
    case ParseResult::Bad:
      std::fprintf(stderr, "plasmora-record: %s\nTry 'plasmora-record --help' for the options.\n",
                   error.c_str());
      return 2;
    case ParseResult::Record:
      break;
  }
  return runRecording(options);
}
