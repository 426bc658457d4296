#include "platform/x11/desktop_record.h"

#include <charconv>

namespace {

constexpr std::string_view header = "plasmora-desktop 1\n";

void put(std::string& out, unsigned long value) {
  out += ' ';
  out += std::to_string(value);
}

void putSigned(std::string& out, long value) {
  out += ' ';
  out += std::to_string(value);
}

// Reads whitespace-separated numbers off one line.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : rest_(line) {}

  template <typename T>
  bool next(T& value) {
    while (!rest_.empty() && rest_.front() == ' ') rest_.remove_prefix(1);
    auto [end, error] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
    if (error != std::errc() || end == rest_.data()) return false;
    rest_.remove_prefix(static_cast<std::size_t>(end - rest_.data()));
    return rest_.empty() || rest_.front() == ' ';
  }
  bool word(std::string_view expected) {
    if (rest_.substr(0, expected.size()) != expected) return false;
    rest_.remove_prefix(expected.size());
    return rest_.empty() || rest_.front() == ' ';
  }
  bool atEnd() const { return rest_.find_first_not_of(' ') == std::string_view::npos; }

 private:
  std::string_view rest_;
};

bool parseMode(LineReader& in, SavedCrtcMode& m) {
  std::size_t outputs = 0;
  if (!(in.next(m.crtc) && in.next(m.mode) && in.next(m.x) && in.next(m.y) && in.next(m.rotation) &&
        in.next(m.screenWidth) && in.next(m.screenHeight) && in.next(m.screenMmWidth) &&
        in.next(m.screenMmHeight) && in.next(outputs)))
    return false;
  if (outputs > maxRecordedCrtcs) return false;
  m.outputs.resize(outputs);
  for (unsigned long& output : m.outputs)
    if (!in.next(output)) return false;
  return m.screenWidth > 0 && m.screenHeight > 0;
}

bool parseGamma(LineReader& in, SavedCrtcGamma& g) {
  std::size_t size = 0;
  if (!in.next(g.crtc) || !in.next(size) || size == 0 || size > maxRecordedGammaSize) return false;
  for (std::vector<std::uint16_t>* channel : {&g.red, &g.green, &g.blue}) {
    channel->resize(size);
    for (std::uint16_t& entry : *channel)
      if (!in.next(entry)) return false;
  }
  return true;
}

}  // namespace

std::string formatDesktopRecord(const DesktopRecord& record) {
  std::string out(header);
  if (const auto& m = record.mode) {
    out += "mode";
    for (unsigned long v : {m->crtc, m->mode}) put(out, v);
    for (long v : {m->x, m->y}) putSigned(out, v);
    put(out, m->rotation);
    for (long v : {m->screenWidth, m->screenHeight, m->screenMmWidth, m->screenMmHeight})
      putSigned(out, v);
    put(out, m->outputs.size());
    for (unsigned long output : m->outputs) put(out, output);
    out += '\n';
  }
  for (const SavedCrtcGamma& g : record.gamma) {
    out += "gamma";
    put(out, g.crtc);
    put(out, g.red.size());
    for (const auto* channel : {&g.red, &g.green, &g.blue})
      for (std::uint16_t entry : *channel) put(out, entry);
    out += '\n';
  }
  return out;
}

bool parseDesktopRecord(std::string_view text, DesktopRecord& record) {
  record = DesktopRecord{};
  if (text.substr(0, header.size()) != header) return false;
  text.remove_prefix(header.size());
  DesktopRecord parsed;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return false;  // a line cut short
    LineReader in(text.substr(0, end));
    text.remove_prefix(end + 1);
    if (in.word("mode")) {
      if (parsed.mode) return false;
      SavedCrtcMode m;
      if (!parseMode(in, m)) return false;
      parsed.mode = std::move(m);
    } else if (in.word("gamma")) {
      if (parsed.gamma.size() >= maxRecordedCrtcs) return false;
      SavedCrtcGamma g;
      if (!parseGamma(in, g)) return false;
      parsed.gamma.push_back(std::move(g));
    } else {
      return false;
    }
    if (!in.atEnd()) return false;
  }
  record = std::move(parsed);
  return true;
}
