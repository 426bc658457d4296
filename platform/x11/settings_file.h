#pragma once
// The text form of the settings store: one value per line, `Name=123` for a number and
// `Name="text"` for a text (backslash escapes \\ and \"). Blank lines and lines starting
// with '#' are comments. A line that does not fit this form is ignored, and a file that is
// not text at all (a NUL byte, or larger than any settings file can be) holds no values.
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_store.h"

std::vector<StoredValue> parseSettingsFile(std::string_view text);

// The file holding `values`, one per line in the given order. Texts with a line break or
// a NUL cannot be written and make the result empty.
bool formatSettingsFile(const std::vector<StoredValue>& values, std::string& text);

// `stored` with every value of `changes` replacing the one of the same name (without regard
// to case) or appended.
std::vector<StoredValue> mergeStoredValues(std::vector<StoredValue> stored,
                                           const std::vector<StoredValue>& changes);
