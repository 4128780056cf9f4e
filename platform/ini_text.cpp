#include "platform/ini_text.h"

#include <vector>

#include "platform/text.h"

namespace vh {

namespace {

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  std::size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

// The section a header line names, or nullopt when it is no header.
std::optional<std::string> HeaderName(const std::string& line) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  std::size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

bool IsKeyLine(const std::string& line, const std::string& key) {
  std::size_t eq = line.find('=');
  return eq != std::string::npos && EqualsIgnoreCase(Trim(line.substr(0, eq)), key);
}

// [first, last) line indexes of the section's body; first is npos when absent.
struct Span {
  std::size_t header = std::string::npos;
  std::size_t end = 0;
};

Span FindSection(const std::vector<std::string>& lines, const std::string& section) {
  Span span;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = HeaderName(lines[i]);
    if (!name) continue;
    if (span.header != std::string::npos) {
      span.end = i;
      return span;
    }
    if (EqualsIgnoreCase(*name, section)) span.header = i;
  }
  span.end = lines.size();
  return span;
}

}  // namespace

std::optional<std::string> IniLookup(const std::string& text, const std::string& section,
                                     const std::string& key) {
  std::vector<std::string> lines = SplitLines(text);
  Span span = FindSection(lines, section);
  if (span.header == std::string::npos) return std::nullopt;
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    if (!IsKeyLine(lines[i], key)) continue;
    std::string value = Trim(lines[i].substr(lines[i].find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return value;
  }
  return std::nullopt;
}

std::string IniSet(const std::string& text, const std::string& section, const std::string& key,
                   const std::string& value) {
  std::vector<std::string> lines = SplitLines(text);
  Span span = FindSection(lines, section);
  std::string entry = key + "=" + value;
  if (span.header == std::string::npos) {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
    return JoinLines(lines);
  }
  std::size_t last = span.header;
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    if (IsKeyLine(lines[i], key)) {
      lines[i] = entry;
      return JoinLines(lines);
    }
    if (!Trim(lines[i]).empty()) last = i;
  }
  lines.insert(lines.begin() + std::ptrdiff_t(last + 1), entry);
  return JoinLines(lines);
}

bool IniHasSection(const std::string& text, const std::string& section) {
  return FindSection(SplitLines(text), section).header != std::string::npos;
}

std::string IniEraseSection(const std::string& text, const std::string& section) {
  std::vector<std::string> lines = SplitLines(text);
  Span span = FindSection(lines, section);
  if (span.header == std::string::npos) return text;
  lines.erase(lines.begin() + std::ptrdiff_t(span.header), lines.begin() + std::ptrdiff_t(span.end));
  return JoinLines(lines);
}

}  // namespace vh
