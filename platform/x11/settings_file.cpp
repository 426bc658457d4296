#include "platform/x11/settings_file.h"

#include <strings.h>
#include <cstdint>

namespace {

// Far more than every setting needs; a larger file is not ours.
constexpr std::size_t maxFileSize = 64 * 1024;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool isNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.';
}

bool validName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!isNameChar(c)) return false;
  return true;
}

// A decimal number that fits 32 bits, signed or unsigned; stored as its 32-bit pattern.
bool parseNumber(std::string_view s, std::uint32_t& number) {
  bool negative = false;
  if (!s.empty() && s.front() == '-') {
    negative = true;
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 10) return false;
  std::uint64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (negative ? value > 0x80000000ull : value > 0xFFFFFFFFull) return false;
  number = static_cast<std::uint32_t>(negative ? (0u - static_cast<std::uint32_t>(value))
                                               : static_cast<std::uint32_t>(value));
  return true;
}

bool parseText(std::string_view s, std::string& text) {
  if (s.size() < 2 || s.front() != '"') return false;
  text.clear();
  for (std::size_t i = 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') return i + 1 == s.size();  // nothing may follow the closing quote
    if (c == '\\') {
      if (++i == s.size()) return false;
      c = s[i];
      if (c != '\\' && c != '"') return false;
    }
    text += c;
  }
  return false;  // no closing quote
}

bool parseLine(std::string_view line, StoredValue& value) {
  line = trim(line);
  if (line.empty() || line.front() == '#') return false;
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  std::string_view name = trim(line.substr(0, eq));
  std::string_view rest = trim(line.substr(eq + 1));
  if (!validName(name)) return false;
  value.name.assign(name);
  if (!rest.empty() && rest.front() == '"') {
    value.kind = StoredValue::Text;
    value.number = 0;
    return parseText(rest, value.text);
  }
  value.kind = StoredValue::Number;
  value.text.clear();
  return parseNumber(rest, value.number);
}

bool sameName(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// `Name=value` without the line break; false for what the parser could not read back.
bool formatLine(const StoredValue& value, std::string& text) {
  if (!validName(value.name)) return false;
  text += value.name;
  text += '=';
  if (value.kind == StoredValue::Number) {
    text += std::to_string(value.number);
    return true;
  }
  text += '"';
  for (char c : value.text) {
    if (c == '\n' || c == '\r' || c == '\0') return false;
    if (c == '\\' || c == '"') text += '\\';
    text += c;
  }
  text += '"';
  return true;
}

}  // namespace

std::vector<StoredValue> mergeStoredValues(std::vector<StoredValue> stored,
                                           const std::vector<StoredValue>& changes) {
  for (const StoredValue& change : changes) {
    bool replaced = false;
    for (StoredValue& old : stored) {
      if (sameName(old.name, change.name)) {
        old = change;
        replaced = true;
        break;
      }
    }
    if (!replaced) stored.push_back(change);
  }
  return stored;
}

bool isSettingsText(std::string_view text) {
  return text.size() <= maxFileSize && text.find('\0') == std::string_view::npos;
}

std::vector<StoredValue> parseSettingsFile(std::string_view text) {
  std::vector<StoredValue> values;
  if (!isSettingsText(text)) return values;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    StoredValue value;
    // A name given twice keeps its later value, in the place of the first.
    if (parseLine(line, value)) values = mergeStoredValues(std::move(values), {value});
  }
  return values;
}

bool formatSettingsFile(const std::vector<StoredValue>& values, std::string& text) {
  text = "# Plasmora settings. Numbers as Name=123, texts as Name=\"text\".\n";
  for (const StoredValue& value : values) {
    if (!formatLine(value, text)) return false;
    text += '\n';
  }
  return text.size() <= maxFileSize;
}

bool rewriteSettingsFile(std::string_view old, const std::vector<StoredValue>& changes,
                         std::string& text) {
  if (!isSettingsText(old)) return false;
  // One value per name, the later one winning, as when the file is read.
  std::vector<StoredValue> pending = mergeStoredValues({}, changes);
  std::vector<bool> written(pending.size(), false);
  text.clear();
  while (!old.empty()) {
    std::size_t end = old.find('\n');
    bool hasBreak = end != std::string_view::npos;
    std::string_view line = old.substr(0, hasBreak ? end : old.size());
    old.remove_prefix(hasBreak ? end + 1 : old.size());
    StoredValue parsed;
    std::size_t match = pending.size();
    if (parseLine(line, parsed)) {
      for (std::size_t i = 0; i < pending.size() && match == pending.size(); ++i)
        if (sameName(parsed.name, pending[i].name)) match = i;
    }
    if (match == pending.size()) {
      text.append(line);
    } else {
      if (!formatLine(pending[match], text)) return false;
      if (!line.empty() && line.back() == '\r') text += '\r';  // keep the file's line endings
      written[match] = true;
    }
    if (hasBreak) text += '\n';
  }
  for (std::size_t i = 0; i < pending.size(); ++i) {
    if (written[i]) continue;
    if (!text.empty() && text.back() != '\n') text += '\n';
    if (!formatLine(pending[i], text)) return false;
    text += '\n';
  }
  return text.size() <= maxFileSize;
}
