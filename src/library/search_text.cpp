#include "library/search_text.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>

#include "demo/display_text.h"
#include "text/name_text.h"
#include "text/windows_1252.h"

namespace rw {

std::string FoldForSearch(std::string_view utf8) {
  // Most texts are plain ASCII, which needs no more than lower case.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
    std::string folded(utf8);
    for (char& c : folded) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return folded;
  }
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* decompose = icu::Normalizer2::getNFDInstance(status);
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  if (U_SUCCESS(status)) text = decompose->normalize(text, status);
  // The accents are the marks the decomposition split off.
  icu::UnicodeString bare;
  for (int32_t i = 0; i < text.length();) {
    const UChar32 c = text.char32At(i);
    if (u_charType(c) != U_NON_SPACING_MARK) bare.append(c);
    i += U16_LENGTH(c);
  }
  bare.foldCase();
  std::string folded;
  bare.toUTF8String(folded);
  return folded;
}

std::string FoldedText(std::string_view windows1252) {
  return FoldForSearch(Windows1252ToUtf8(StripColors(windows1252)));
}

std::string FoldedUserText(std::string_view utf8) {
  return FoldForSearch(StripColors(utf8, TextForm::kUtf8));
}

std::string FoldedName(std::string_view name) {
  return FoldForSearch(NameToUtf8(name));
}

}  // namespace rw
