#include "demo/display_text.h"

#include <algorithm>
#include <cstdio>

#include "text/name_text.h"

namespace rw {

std::string FormatSize(uint64_t bytes, int decimals, const Locale& locale) {
  const bool megabytes = bytes / 1048576.0 >= 1;
  const double value = megabytes ? bytes / 1048576.0 : bytes / 1024.0;
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string result = text;
  for (char& c : result) {
    if (c == '.') c = locale.DecimalSeparator();
  }
  return result + (megabytes ? " MB" : " KB");
}

size_t CharacterLength(std::string_view text, size_t i, TextForm form) {
  if (form == TextForm::kWindows1252) return 1;
  return std::max<size_t>(1, Utf8SequenceLength(text, i));
}

std::string StripColors(std::string_view text, TextForm form) {
  if (text.find('^') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '^') {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] != '^') {
      // The colour character goes with its caret.
      i += CharacterLength(text, i + 1, form);
    }
  }
  return out;
}

std::string SafeFileName(std::string_view text) {
  std::string out = StripColors(text);
  for (char& c : out) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 32 || b > 126 || std::string_view("\"*/:<>?\\|").find(c) != std::string_view::npos) {
      c = '_';
    }
  }
  return out;
}

std::string YesNoText(std::string_view text) {
  if (text == "0") return "NO";
  if (text == "1") return "YES";
  return "N/A";
}

std::string ZeroAsNotSet(std::string_view text) {
  return text == "0" ? std::string("N/S") : std::string(text);
}

std::string NameBoxMeasure(std::string_view name, TextForm form) {
  std::string measure;
  for (char c : StripColors(name, form)) {
    if (c == '|') {
      measure += "ai";
    } else {
      measure += c;
    }
  }
  return measure;
}

}  // namespace rw
