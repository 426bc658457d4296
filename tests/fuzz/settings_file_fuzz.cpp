// Any bytes as a settings file: parsing never fails unsafely, what it reads writes back to a
// file that reads the same, and a save into it reads back as the old values with the new one.
#include <strings.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/x11/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<StoredValue> values = parseSettingsFile(text);
  StoredValue change;
  change.name = "Detail";
  change.number = size;
  std::string saved;
  if (rewriteSettingsFile(text, {change}, saved)) {
    std::vector<StoredValue> expected = mergeStoredValues(values, {change});
    std::vector<StoredValue> got = parseSettingsFile(saved);
    if (got.size() != expected.size()) std::abort();
    for (std::size_t i = 0; i < got.size(); ++i)
      if (strcasecmp(got[i].name.c_str(), expected[i].name.c_str()) != 0 ||
          got[i].number != expected[i].number || got[i].text != expected[i].text)
        std::abort();
  }
  std::string written;
  if (!formatSettingsFile(values, written)) return 0;
  std::vector<StoredValue> again = parseSettingsFile(written);
  if (again.size() != values.size()) std::abort();
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (again[i].name != values[i].name || again[i].kind != values[i].kind ||
        again[i].number != values[i].number || again[i].text != values[i].text)
      std::abort();
  }
  return 0;
}
