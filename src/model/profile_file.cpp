#include "model/profile_file.h"

#include <algorithm>

#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits of one base, at most limit in value; nullopt for an empty or too large number.
std::optional<uint64_t> ParseDigits(std::string_view digits, int base, uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (const char c : digits) {
    const int digit = DigitValue(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  return value;
}

std::string CleanValue(std::string_view value) {
  std::string clean(value);
  std::replace(clean.begin(), clean.end(), '\r', ' ');
  std::replace(clean.begin(), clean.end(), '\n', ' ');
  return clean;
}

}  // namespace

std::optional<int32_t> ParseProfileInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Hexadecimal covers the whole 32-bit pattern, so $FFFFFFFF is -1 like a colour reference.
  std::optional<uint64_t> hex;
  if (!text.empty() && text.front() == '$') {
    hex = ParseDigits(text.substr(1), 16, 0xFFFFFFFFu);
    if (!hex) return std::nullopt;
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = ParseDigits(text.substr(2), 16, 0xFFFFFFFFu);
    if (!hex) return std::nullopt;
  }
  if (hex) {
    const uint32_t bits = static_cast<uint32_t>(*hex);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
  }
  const std::optional<uint64_t> value = ParseDigits(text, 10, negative ? 2147483648u : 2147483647u);
  if (!value) return std::nullopt;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(*value))
                  : static_cast<int32_t>(*value);
}

ProfileFile ProfileFile::Parse(std::string_view bytes) {
  ProfileFile file;
  Section* current = nullptr;
  const auto closeSection = [&current] {
    if (current == nullptr) return;
    auto& lines = current->lines;
    size_t end = lines.size();
    while (end > 0 && Trim(lines[end - 1].text).empty()) --end;
    for (size_t i = end; i < lines.size(); ++i) {
      current->trailingBlanks.push_back(std::move(lines[i].text));
    }
    lines.resize(end);
  };

  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view raw = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    const std::string_view trimmed = Trim(raw);
    if (!trimmed.empty() && trimmed.front() == '[') {
      closeSection();
      const size_t close = trimmed.find(']');
      const std::string_view name =
          Trim(trimmed.substr(1, close == std::string_view::npos ? close : close - 1));
      file.sections_.push_back(Section{std::string(raw), {}, {}, {}});
      file.sectionIndex_.try_emplace(AnsiLowerText(name), file.sections_.size() - 1);
      current = &file.sections_.back();
      continue;
    }
    if (current == nullptr) {
      file.preamble_.emplace_back(raw);
      continue;
    }
    Line line{std::string(raw), 0};
    const size_t equals = raw.find('=');
    if (equals != std::string_view::npos) {
      const std::string_view key = Trim(raw.substr(0, equals));
      if (!key.empty()) {
        const size_t valueOffset = raw.find_first_not_of(kBlanks, equals + 1);
        line.valueStart = valueOffset == std::string_view::npos ? raw.size() : valueOffset;
        current->keys.try_emplace(AnsiLowerText(key), current->lines.size());
      }
    }
    current->lines.push_back(std::move(line));
  }
  closeSection();
  return file;
}

std::string ProfileFile::Serialize() const {
  std::string out;
  const auto append = [&out](std::string_view text) {
    out.append(text);
    out.append("\r\n");
  };
  for (const std::string& line : preamble_) append(line);
  for (const Section& section : sections_) {
    append(section.header);
    for (const Line& line : section.lines) append(line.text);
    for (const std::string& blank : section.trailingBlanks) append(blank);
  }
  return out;
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view name) const {
  const auto found = sectionIndex_.find(AnsiLowerText(name));
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

ProfileFile::Section* ProfileFile::FindSection(std::string_view name) {
  const auto found = sectionIndex_.find(AnsiLowerText(name));
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return std::nullopt;
  const auto line = found->keys.find(AnsiLowerText(key));
  if (line == found->keys.end()) return std::nullopt;
  const Line& entry = found->lines[line->second];
  std::string_view value = Trim(std::string_view(entry.text).substr(entry.valueStart));
  value = value.substr(0, value.find('\0'));
  return std::string(value.substr(0, kValueBuffer - 1));
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
  std::optional<std::string> value = Read(section, key);
  return value ? std::move(*value) : std::string(fallback);
}

int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                 int32_t fallback) const {
  const std::optional<std::string> value = Read(section, key);
  if (!value) return fallback;
  return ParseProfileInteger(*value).value_or(fallback);
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  Section* target = FindSection(section);
  if (target == nullptr) {
    sections_.push_back(Section{"[" + std::string(section) + "]", {}, {}, {}});
    sectionIndex_.emplace(AnsiLowerText(section), sections_.size() - 1);
    target = &sections_.back();
  }
  Line line{std::string(key) + "=" + CleanValue(value), key.size() + 1};
  const std::string name = AnsiLowerText(key);
  const auto existing = target->keys.find(name);
  if (existing != target->keys.end()) {
    target->lines[existing->second] = std::move(line);
    return;
  }
  target->keys.emplace(name, target->lines.size());
  target->lines.push_back(std::move(line));
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::optional<ProfileFile> LoadProfileFile(FileSystem& fs, const std::string& path) {
  const std::optional<std::string> bytes = fs.ReadFile(path);
  if (bytes) return ProfileFile::Parse(*bytes);
  if (fs.Exists(path)) return std::nullopt;
  return ProfileFile{};
}

bool SaveProfileFile(FileSystem& fs, const std::string& path, const ProfileFile& file) {
  return fs.WriteFileAtomic(path, file.Serialize());
}

}  // namespace rw
