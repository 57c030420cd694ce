#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/locale.h"

namespace rw {

// The user's locale through ICU: collation, and number, date and time formats. A locale
// named C or POSIX (servers, CI) collates in ICU's root order and keeps the fixed formats.
// Texts are compared as UTF-8 when they are (names), else as Windows-1252.
class IcuLocale : public FixedLocale {
 public:
  // collation and formats name locales as the environment does ("de_DE.UTF-8", "C").
  IcuLocale(std::string_view collation, std::string_view formats);
  ~IcuLocale() override;
  IcuLocale(const IcuLocale&) = delete;
  IcuLocale& operator=(const IcuLocale&) = delete;

  // From LC_ALL, then LC_COLLATE (LC_TIME for the formats), then LANG.
  static std::unique_ptr<IcuLocale> FromEnvironment();

  char DecimalSeparator() const override;
  char ThousandsSeparator() const override;
  char DateSeparator() const override;
  char TimeSeparator() const override;
  std::string ShortDateText(const LocalDateTime& value) const override;
  std::string LongTimeText(const LocalDateTime& value) const override;
  std::optional<LocalDateTime> ParseDateTime(std::string_view text) const override;
  int Compare(std::string_view a, std::string_view b) const override;
  // Equal only when the texts are equal but for Windows-1252 case, so that no two
  // different texts collapse into one.
  int CompareIgnoringCase(std::string_view a, std::string_view b) const override;
  std::string FoldCase(std::string_view text) const override;

 private:
  struct Icu;
  std::unique_ptr<Icu> icu_;
};

// The ICU name of a locale as the environment names it ("de_DE.UTF-8@euro" gives "de_DE");
// empty for C and POSIX.
std::string IcuLocaleName(std::string_view environmentName);

}  // namespace rw
