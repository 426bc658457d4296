#pragma once
// The text form of the settings store: one value per line, `Name=123` for a number and
// `Name="text"` for a text (backslash escapes \\ and \"). Blank lines and lines starting
// with '#' are comments. A line that does not fit this form is ignored, and a file that is
// not text at all (a NUL byte, or larger than any settings file can be) holds no values.
//
// The file is also edited by hand and by installers, so a save rewrites only the lines of
// the values it stores: comments, unknown names and lines the parser cannot read are kept
// byte for byte, and a file that cannot be read whole is never rewritten.
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_store.h"

std::vector<StoredValue> parseSettingsFile(std::string_view text);

// The file holding `values`, one per line in the given order. Texts with a line break or
// a NUL cannot be written and make the result empty.
bool formatSettingsFile(const std::vector<StoredValue>& values, std::string& text);

// Whether `text` can be read whole as a settings file: no NUL byte and not over the size
// limit. A file that is not is neither read nor rewritten.
bool isSettingsText(std::string_view text);

// `old` with each value of `changes` written in place of every line that stores a value of
// that name (without regard to case), and appended, in the given order, when no line does.
// Every other line, its line ending included, stays as it was; a last line without a line
// break gets one only when values follow it. False, leaving `text` unspecified, when `old`
// is not settings text, a value cannot be written, or the result would exceed the limit.
bool rewriteSettingsFile(std::string_view old, const std::vector<StoredValue>& changes,
                         std::string& text);

// `stored` with every value of `changes` replacing the one of the same name (without regard
// to case) or appended.
std::vector<StoredValue> mergeStoredValues(std::vector<StoredValue> stored,
                                           const std::vector<StoredValue>& changes);
