// The settings store on the registry, checked in the Wine prefix of the tests (the key
// HKCU\Software\Quillmoor\Plasmora is emptied first). Prints a line per check; exit status 0
// when all held.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace {

int failures = 0;

void check(bool held, const char* what) {
  std::printf("%s %s\n", held ? "ok  " : "FAIL", what);
  failures += !held;
}

const StoredValue* find(const std::vector<StoredValue>& values, const std::string& name) {
  const StoredValue* found = nullptr;
  for (const StoredValue& v : values)
    if (lstrcmpiA(v.name.c_str(), name.c_str()) == 0) {
      if (found != nullptr) return nullptr;  // twice: as wrong as not at all
      found = &v;
    }
  return found;
}

StoredValue number(const char* name, std::uint32_t n) { return {name, StoredValue::Number, n, ""}; }
StoredValue text(const char* name, std::string t) { return {name, StoredValue::Text, 0, t}; }

}  // namespace

int main() {
  const char* key = "Software\\Quillmoor\\Plasmora";
  RegDeleteKeyA(HKEY_CURRENT_USER, key);
  check(readStoredValues().empty(), "no key: no values");

  check(writeStoredValues({number("Detail", 2), number("Volume", 0xFFFFFFFFu),
                           text("Path", "C:\\Program Files\\Plasmora")}),
        "a save of numbers and a text");
  std::vector<StoredValue> read = readStoredValues();
  const StoredValue* detail = find(read, "Detail");
  const StoredValue* volume = find(read, "Volume");
  const StoredValue* path = find(read, "Path");
  check(detail && detail->kind == StoredValue::Number && detail->number == 2 && volume &&
            volume->number == 0xFFFFFFFFu && path && path->kind == StoredValue::Text &&
            path->text == "C:\\Program Files\\Plasmora",
        "read back as saved");

  check(writeStoredValues({number("detail", 1)}), "a save under another case of the name");
  detail = find(readStoredValues(), "Detail");
  check(detail && detail->number == 1, "replaces the value, one value of the name");

  // Values another program left that no setting can hold are left out, the rest still read.
  HKEY opened = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &opened);
  const BYTE blob[3] = {1, 2, 3};
  RegSetValueExA(opened, "ShowFPS", 0, REG_BINARY, blob, sizeof blob);
  const std::string longText(255, 'x');
  RegSetValueExA(opened, "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longText.c_str()),
                 static_cast<DWORD>(longText.size() + 1));
  RegCloseKey(opened);
  read = readStoredValues();
  check(!find(read, "ShowFPS") && !find(read, "Long") && find(read, "Path"),
        "a binary value and a 255-byte text are left out");

  // A save that cannot be made whole changes nothing and says why.
  std::string problem;
  const bool saved =
      writeStoredValues({number("ShowClock", 1), text("Path", std::string(300, 'y'))}, &problem);
  read = readStoredValues();
  path = find(read, "Path");
  check(!saved && !problem.empty() && !find(read, "ShowClock") && path &&
            path->text == "C:\\Program Files\\Plasmora",
        "a refused save leaves every value as it was");
  std::printf("     (%s)\n", problem.c_str());

  RegDeleteKeyA(HKEY_CURRENT_USER, key);
  return failures != 0;
}
