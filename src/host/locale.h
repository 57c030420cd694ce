#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rw {

// A calendar date and wall-clock time in local time.
struct LocalDateTime {
  int year = 1980;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool operator==(const LocalDateTime&) const = default;
  auto operator<=>(const LocalDateTime&) const = default;
};

// The user's number and date conventions and text collation.
class Locale {
 public:
  virtual ~Locale() = default;
  virtual char DecimalSeparator() const = 0;
  virtual char ThousandsSeparator() const = 0;
  virtual char DateSeparator() const = 0;
  virtual char TimeSeparator() const = 0;
  virtual std::string ShortDateText(const LocalDateTime& value) const = 0;
  virtual std::string LongTimeText(const LocalDateTime& value) const = 0;
  // A short date, optionally followed by a blank and a long time; nullopt when it does not convert.
  virtual std::optional<LocalDateTime> ParseDateTime(std::string_view text) const = 0;
  // Collation order, negative, zero or positive.
  virtual int Compare(std::string_view a, std::string_view b) const = 0;
  virtual int CompareIgnoringCase(std::string_view a, std::string_view b) const = 0;
  // Texts that CompareIgnoringCase finds equal fold to the same bytes, so that they can be
  // found by a hash (texts that fold alike may still differ).
  virtual std::string FoldCase(std::string_view text) const = 0;
};

// The fixed form used by the command line and the tests: "." for decimals, "," for thousands,
// ISO dates (2001-05-03) and 24-hour times (17:04:09), Windows-1252 byte order.
class FixedLocale : public Locale {
 public:
  char DecimalSeparator() const override { return '.'; }
  char ThousandsSeparator() const override { return ','; }
  char DateSeparator() const override { return '-'; }
  char TimeSeparator() const override { return ':'; }
  std::string ShortDateText(const LocalDateTime& value) const override;
  std::string LongTimeText(const LocalDateTime& value) const override;
  std::optional<LocalDateTime> ParseDateTime(std::string_view text) const override;
  int Compare(std::string_view a, std::string_view b) const override;
  int CompareIgnoringCase(std::string_view a, std::string_view b) const override;
  std::string FoldCase(std::string_view text) const override;
};

}  // namespace rw
