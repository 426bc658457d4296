#pragma once
// The per-user store of the saver's settings: named values, each a 32-bit number or a text.
// It is read whole and written in one step, so a save that is cut short leaves the values
// that were stored before it.
//
// On Windows the store is the registry key HKEY_CURRENT_USER\Software\Quillmoor\Plasmora:
// numbers are REG_DWORD values, texts REG_SZ values of at most 254 bytes; values of any other
// type or size are left out. A save is one registry transaction where the system offers them;
// elsewhere a write that fails part-way puts back the values it had written, so only the
// process ending in the middle of a save can leave some values new and others old.
#include <cstdint>
#include <string>
#include <vector>

struct StoredValue {
  enum Kind { Number, Text };
  std::string name;
  Kind kind = Number;
  std::uint32_t number = 0;
  std::string text;
};

// Every value the store holds, in stored order. Empty when there is no store yet or it
// cannot be read; a value that cannot be understood is left out rather than guessed.
std::vector<StoredValue> readStoredValues();

// Stores the given values, replacing those of the same name (names compare without regard
// to case) and keeping all others. Returns false, with the store unchanged, on failure;
// `problem`, when given, then says in a sentence for the user what went wrong. A store that
// exists but cannot be read whole is refused rather than replaced.
bool writeStoredValues(const std::vector<StoredValue>& values, std::string* problem = nullptr);

// Where the store lives, as shown to the user.
std::string settingsStoreLocation();
