#include "demo/demo_generation.h"

#include <array>

#include "demo/decimal_text.h"

namespace rw {

namespace {

constexpr ProtocolLayout kProtocol45OrLess{0, 4, 6, false, 13, 14};
constexpr ProtocolLayout kProtocol46{4, 0, 15, false, 13, 14};
constexpr ProtocolLayout kProtocol47OrMore{4, 0, 14, true, 21, 22};

using enum DemoGeneration;
using enum MessageCoding;
using enum ScoreSource;

// In the order of DemoGeneration.
constexpr std::array<GenerationFacts, 5> kGenerations{{
    {k117, ".dm3", "1.17", kPlainBytes, true, kScoresCommand},
    {k127, ".dm_48", "1.27", kPlainBytes, true, kScoresCommand},
    {k132, ".dm_68", "1.32", kHuffmanBits, true, kScoresCommand},
    {kQuakeLive, ".dm_91", "Quake Live", kHuffmanBits, false, kNone},
    {kForeign, "", "other", kHuffmanBits, false, kNone},
}};

constexpr std::string_view kNumberedExtension = ".dm_";

bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsLowered(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (LowerAscii(text[i]) != lower[i]) return false;
  }
  return true;
}

}  // namespace

const ProtocolLayout& LayoutOf(int32_t protocol) {
  if (protocol <= 45) return kProtocol45OrLess;
  return protocol == 46 ? kProtocol46 : kProtocol47OrMore;
}

const GenerationFacts& FactsOf(DemoGeneration generation) {
  return kGenerations[static_cast<size_t>(generation)];
}

DemoGeneration GenerationOfProtocol(int32_t protocol) {
  switch (protocol) {
    case 47:
    case 48:
      return k127;
    case 66:
    case 67:
    case 68:
      return k132;
    case 73:
    case 90:
    case 91:
      return kQuakeLive;
    default:
      // The plain reader takes any protocol up to 46 with 1.17's layouts.
      return protocol >= 1 && protocol <= 46 ? k117 : kForeign;
  }
}

std::optional<DemoGeneration> GenerationOfExtension(std::string_view extension) {
  if (EqualsLowered(extension, ".dm3")) return k117;
  if (extension.size() <= kNumberedExtension.size() || extension.size() > 7 ||
      !EqualsLowered(extension.substr(0, kNumberedExtension.size()), kNumberedExtension)) {
    return std::nullopt;
  }
  int32_t protocol = 0;
  for (const char c : extension.substr(kNumberedExtension.size())) {
    if (!IsAsciiDigit(c)) return std::nullopt;
    protocol = protocol * 10 + (c - '0');
  }
  return GenerationOfProtocol(protocol);
}

bool IsDemoExtension(std::string_view extension) {
  return GenerationOfExtension(extension).has_value();
}

std::string_view ExtensionOf(std::string_view fileName) {
  const size_t separator = fileName.find_last_of("/\\");
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) {
    return {};
  }
  return fileName.substr(dot);
}

DemoGeneration GenerationOfDemo(int32_t protocol, std::string_view fileName) {
  const DemoGeneration generation = GenerationOfProtocol(protocol);
  if (generation != kForeign) return generation;
  return GenerationOfExtension(ExtensionOf(fileName)).value_or(kForeign);
}

DemoGeneration GenerationOfListedDemo(std::string_view protocol, std::string_view fileName) {
  return GenerationOfDemo(ParseInt32(protocol.substr(0, 2)).value_or(0), fileName);
}

bool IsPlayableDemo(std::string_view protocol, std::string_view fileName) {
  switch (GenerationOfListedDemo(protocol, fileName)) {
    case k117:
      return protocol != "46";
    case k127:
    case k132:
      return true;
    default:
      return false;
  }
}

std::string PlayedExtension(std::string_view protocol, std::string_view fileName) {
  const DemoGeneration generation = GenerationOfListedDemo(protocol, fileName);
  if (generation != k132) return std::string(DemoExtension(generation));
  const std::string numbered = std::string(kNumberedExtension) + std::string(protocol.substr(0, 2));
  if (GenerationOfExtension(numbered) == k132) return numbered;
  std::string own(ExtensionOf(fileName));
  for (char& c : own) c = LowerAscii(c);
  return GenerationOfExtension(own) == k132 ? own : std::string(DemoExtension(k132));
}

std::string_view DemoExtension(DemoGeneration generation) {
  return FactsOf(generation).extension;
}

std::string_view VersionLabel(DemoGeneration generation) {
  return FactsOf(generation).label;
}

}  // namespace rw
