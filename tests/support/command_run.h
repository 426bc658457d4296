#pragma once
// Runs a shell command and gives its exit status (-1 when it did not exit normally) and what
// it wrote on standard output.
#include <sys/wait.h>

#include <cstdio>
#include <string>

struct CommandRun {
  int status = -1;
  std::string output;
};

inline CommandRun runCommand(const std::string& command) {
  CommandRun r;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  char chunk[4096];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
    r.output.append(chunk, got);
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}
