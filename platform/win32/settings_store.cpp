#include "platform/settings_store.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/proc_address.h"

namespace {

constexpr const char* keyPath = "Software\\Quillmoor\\Plasmora";
constexpr const char* keyLocation = "HKEY_CURRENT_USER\\Software\\Quillmoor\\Plasmora";

// A text value holds at most this many bytes: the settings' text field is 255 bytes with its
// terminating zero. A longer text is left out when reading and refused when writing.
constexpr std::size_t maxTextLength = 254;
// The registry's own limit on a value's name, in characters.
constexpr DWORD maxNameLength = 16383;
// Larger values are not read: no setting is near this size, and a hostile one must not
// make the program allocate what it says.
constexpr DWORD maxValueSize = 1024 * 1024;

// The system's sentence for an error code, without its final full stop and line break.
std::string systemMessage(LONG code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n != 0 && text != nullptr ? std::string(text, n) : std::string();
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == '.' || message.back() == ' '))
    message.pop_back();
  return message.empty() ? "error " + std::to_string(code) : message;
}

void say(std::string* problem, const std::string& what) {
  if (problem != nullptr) *problem = what;
}

void sayFailure(std::string* problem, LONG code) {
  say(problem, std::string("The registry key ") + keyLocation + " cannot be written (" +
                   systemMessage(code) + "); it was left as it is.");
}

// A value as the registry holds it, or its absence.
struct RawValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

// Reads one value whole; false when it cannot be (or is larger than any setting can be).
bool readRaw(HKEY key, const char* name, RawValue& value) {
  value = RawValue{};
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND) return true;
    if (result != ERROR_SUCCESS || size > maxValueSize) return false;
    value.data.assign(size, 0);
    result = RegQueryValueExA(key, name, nullptr, &type, value.data.data(), &size);
    if (result == ERROR_MORE_DATA) continue;  // it grew meanwhile
    if (result == ERROR_FILE_NOT_FOUND) return true;
    if (result != ERROR_SUCCESS) return false;
    value.present = true;
    value.type = type;
    value.data.resize(size);
    return true;
  }
  return false;
}

// Puts a value back as it was: its type and bytes, or no value.
LONG writeRaw(HKEY key, const char* name, const RawValue& value) {
  if (!value.present) {
    const LONG result = RegDeleteValueA(key, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
  }
  return RegSetValueExA(key, name, 0, value.type, value.data.data(),
                        static_cast<DWORD>(value.data.size()));
}

LONG writeValue(HKEY key, const StoredValue& value) {
  if (value.kind == StoredValue::Number) {
    const DWORD number = value.number;
    return RegSetValueExA(key, value.name.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&number), sizeof number);
  }
  return RegSetValueExA(key, value.name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.text.c_str()),
                        static_cast<DWORD>(value.text.size() + 1));
}

// The value as a setting: a 4-byte REG_DWORD or a REG_SZ text that fits; false otherwise.
bool understand(const std::string& name, DWORD type, const std::vector<BYTE>& data,
                StoredValue& value) {
  if (name.empty()) return false;  // the key's unnamed default value
  value = StoredValue{};
  value.name = name;
  if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
    value.kind = StoredValue::Number;
    std::memcpy(&value.number, data.data(), sizeof(DWORD));
    return true;
  }
  if (type == REG_SZ) {
    // The text ends at its first zero, or with the data when a writer left the zero out.
    std::size_t length = 0;
    while (length < data.size() && data[length] != 0) ++length;
    if (length > maxTextLength) return false;
    value.kind = StoredValue::Text;
    value.text.assign(reinterpret_cast<const char*>(data.data()), length);
    return true;
  }
  return false;
}

// Whether every value can be stored as it is, naming the first that cannot.
bool storable(const std::vector<StoredValue>& values, std::string* problem) {
  for (const StoredValue& value : values) {
    const bool nameOk = !value.name.empty() && value.name.size() <= maxNameLength &&
                        value.name.find('\0') == std::string::npos;
    const bool textOk =
        value.kind == StoredValue::Number ||
        (value.text.size() <= maxTextLength && value.text.find('\0') == std::string::npos);
    if (nameOk && textOk) continue;
    say(problem, std::string("The setting \"") + value.name.c_str() +
                     "\" cannot be stored in the registry key " + keyLocation +
                     (nameOk ? ": its text is too long." : ": its name is not valid."));
    return false;
  }
  return true;
}

// The registry's transactions, where the system offers them: every value of a save is
// written, or none.
struct Transactions {
  using CreateFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPGUID, DWORD, DWORD, DWORD, DWORD,
                                   LPWSTR);
  using EndFn = BOOL(WINAPI*)(HANDLE);
  using CreateKeyFn = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM,
                                    const LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD, HANDLE, PVOID);
  CreateFn create = nullptr;
  EndFn commit = nullptr;
  EndFn rollback = nullptr;
  CreateKeyFn createKey = nullptr;
};

const Transactions& transactions() {
  static const Transactions found = [] {
    Transactions t;
    // From the system folder only, never from the current or the program's folder.
    constexpr DWORD searchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    HMODULE ktm = LoadLibraryExA("ktmw32.dll", nullptr, searchSystem32);
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    if (ktm == nullptr || advapi == nullptr) return t;
    t.create = procAddress<Transactions::CreateFn>(ktm, "CreateTransaction");
    t.commit = procAddress<Transactions::EndFn>(ktm, "CommitTransaction");
    t.rollback = procAddress<Transactions::EndFn>(ktm, "RollbackTransaction");
    t.createKey = procAddress<Transactions::CreateKeyFn>(advapi, "RegCreateKeyTransactedA");
    if (t.create == nullptr || t.commit == nullptr || t.rollback == nullptr ||
        t.createKey == nullptr)
      t = Transactions{};
    return t;
  }();
  return found;
}

// Writes every value, in one transaction when the system offers them; `attempted` counts the
// values whose write was tried. Result: the first failure, or success.
LONG writeAll(HKEY key, const std::vector<StoredValue>& values, std::size_t& attempted) {
  const Transactions& t = transactions();
  HANDLE transaction =
      t.create != nullptr ? t.create(nullptr, nullptr, 0, 0, 0, 0, nullptr) : INVALID_HANDLE_VALUE;
  if (transaction == nullptr) transaction = INVALID_HANDLE_VALUE;
  HKEY transacted = nullptr;
  if (transaction != INVALID_HANDLE_VALUE &&
      t.createKey(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &transacted,
                  nullptr, transaction, nullptr) != ERROR_SUCCESS) {
    transacted = nullptr;
    CloseHandle(transaction);
    transaction = INVALID_HANDLE_VALUE;
  }
  LONG result = ERROR_SUCCESS;
  for (attempted = 0; attempted < values.size() && result == ERROR_SUCCESS; ++attempted)
    result = writeValue(transacted != nullptr ? transacted : key, values[attempted]);
  if (transacted != nullptr) {
    RegCloseKey(transacted);
    if (result == ERROR_SUCCESS && !t.commit(transaction))
      result = static_cast<LONG>(GetLastError());
    if (result != ERROR_SUCCESS) t.rollback(transaction);
    CloseHandle(transaction);
  }
  return result;
}

}  // namespace

std::string settingsStoreLocation() { return keyLocation; }

std::vector<StoredValue> readStoredValues() {
  std::vector<StoredValue> values;
  HKEY key = nullptr;
  // Opened, or made empty when this is the first run.
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_READ, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return values;
  std::vector<char> name(maxNameLength + 1);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD type = REG_NONE;
    DWORD size = 0;
    const LONG result =
        RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type, nullptr, &size);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) {
      values.clear();  // cannot be read
      break;
    }
    // Only a number or a text can be a setting; anything else is not fetched at all.
    if (type != REG_DWORD && type != REG_SZ) continue;
    const std::string valueName(name.data(), nameLength);
    RawValue raw;
    StoredValue value;
    if (readRaw(key, valueName.c_str(), raw) && raw.present &&
        understand(valueName, raw.type, raw.data, value))
      values.push_back(std::move(value));
  }
  RegCloseKey(key);
  return values;
}

// Every value of a save is written, or none: in one registry transaction where the system
// offers them. Elsewhere, and should a transaction not hold (a system that only imitates
// them), a write that fails part-way puts back the values as they were read before it, so
// only the process ending in the middle of a save can leave some values new and others old.
bool writeStoredValues(const std::vector<StoredValue>& values, std::string* problem) {
  if (!storable(values, problem)) return false;
  HKEY key = nullptr;
  LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) {
    sayFailure(problem, result);
    return false;
  }
  std::vector<RawValue> before(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (readRaw(key, values[i].name.c_str(), before[i])) continue;
    RegCloseKey(key);
    say(problem, std::string("The registry key ") + keyLocation +
                     " cannot be read whole (value \"" + values[i].name +
                     "\"); it was left as it is.");
    return false;
  }
  std::size_t attempted = 0;
  result = writeAll(key, values, attempted);
  if (result == ERROR_SUCCESS) {
    RegFlushKey(key);
  } else {
    // Latest first, so that a name given twice ends as it began.
    while (attempted > 0) {
      --attempted;
      writeRaw(key, values[attempted].name.c_str(), before[attempted]);
    }
    sayFailure(problem, result);
  }
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}
