#pragma once

#include <string>
#include <vector>

// Writes bytes to a file, replacing it as a whole. False with `error` set when it cannot;
// the old file, if any, is then left as it was.
bool writeFileBytes(const std::string& path, const std::vector<unsigned char>& bytes,
                    std::string& error);
