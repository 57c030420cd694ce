#include "host/icu_locale.h"

#include <unicode/coll.h>
#include <unicode/dcfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cstdlib>
#include <mutex>

#include "text/name_text.h"
#include "text/utf8_to_windows_1252.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr int kSortYear = 2001;

// Texts are compared as UTF-8; one that is not is read as Windows-1252 into storage.
std::string_view AsUtf8(std::string_view text, bool utf8, std::string& storage) {
  if (utf8) return text;
  storage = Windows1252ToUtf8(text);
  return storage;
}

std::string CaseFolded(std::string_view text, bool utf8) {
  return utf8 ? NameLowerText(text) : AnsiLowerText(text);
}

icu::StringPiece Piece(std::string_view text) {
  return {text.data(), static_cast<int32_t>(text.size())};
}

int ByteOrder(std::string_view a, std::string_view b) {
  const int order = a.compare(b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// Windows-1252 has no narrow blanks: ICU's patterns put U+202F before "PM" in some locales.
icu::UnicodeString WithPlainBlanks(icu::UnicodeString pattern) {
  pattern.findAndReplace(icu::UnicodeString(static_cast<UChar>(0x202F)), " ");
  pattern.findAndReplace(icu::UnicodeString(static_cast<UChar>(0x00A0)), " ");
  return pattern;
}

std::string ToWindows1252(const icu::UnicodeString& text) {
  std::string utf8;
  WithPlainBlanks(text).toUTF8String(utf8);
  return Utf8ToWindows1252(utf8);
}

// One separator as a Windows-1252 byte; fallback when the locale's has no such byte.
char SeparatorByte(const icu::UnicodeString& text, char fallback) {
  const std::string byte = ToWindows1252(text);
  return byte.size() == 1 && byte[0] != '?' ? byte[0] : fallback;
}

// The first character that is no digit of a formatted date or time.
char FirstNonDigit(const std::string& text, char fallback) {
  for (const char c : text) {
    if (c < '0' || c > '9') return c;
  }
  return fallback;
}

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The locale name the C library would use for category.
std::string EnvironmentLocale(const char* category) {
  for (const char* name : {"LC_ALL", category, "LANG"}) {
    const std::string value = EnvironmentValue(name);
    if (!value.empty()) return value;
  }
  return {};
}

}  // namespace

std::string IcuLocaleName(std::string_view environmentName) {
  const std::string_view name = environmentName.substr(0, environmentName.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return {};
  return std::string(name);
}

struct IcuLocale::Icu {
  std::unique_ptr<icu::Collator> collator;
  std::unique_ptr<icu::Collator> caseless;
  // Empty for the fixed formats.
  std::unique_ptr<icu::SimpleDateFormat> date;
  std::unique_ptr<icu::SimpleDateFormat> time;
  std::unique_ptr<icu::SimpleDateFormat> dateTime;
  char decimal = '.';
  char thousands = ',';
  char dateSeparator = '-';
  char timeSeparator = ':';

  // Made once and cleared for each date: making a calendar costs far more than setting one.
  mutable std::mutex calendarLock;
  mutable std::unique_ptr<icu::GregorianCalendar> calendar;

  void SetUpFormats(const icu::Locale& locale);
  UDate ToDate(const LocalDateTime& value) const;
};

void IcuLocale::Icu::SetUpFormats(const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::DecimalFormatSymbols symbols(locale, status);
  std::unique_ptr<icu::DateTimePatternGenerator> generator(
      icu::DateTimePatternGenerator::createInstance(locale, status));
  if (U_FAILURE(status)) return;
  const icu::UnicodeString datePattern =
      WithPlainBlanks(generator->getBestPattern("yyyyMMdd", status));
  const icu::UnicodeString timePattern =
      WithPlainBlanks(generator->getBestPattern("jmmss", status));
  auto formats = std::make_unique<icu::SimpleDateFormat>(datePattern, locale, status);
  auto times = std::make_unique<icu::SimpleDateFormat>(timePattern, locale, status);
  auto both =
      std::make_unique<icu::SimpleDateFormat>(datePattern + " " + timePattern, locale, status);
  if (U_FAILURE(status)) return;
  for (icu::SimpleDateFormat* format : {formats.get(), times.get(), both.get()}) {
    // Local wall-clock times: no time zone may shift them.
    format->setTimeZone(*icu::TimeZone::getGMT());
    format->setLenient(false);
  }
  date = std::move(formats);
  time = std::move(times);
  dateTime = std::move(both);
  decimal =
      SeparatorByte(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol), decimal);
  // A locale grouping with a narrow blank groups with a no-break space here.
  thousands = SeparatorByte(
      WithPlainBlanks(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol)),
      '\xA0');
  if (thousands == ' ') thousands = '\xA0';
  LocalDateTime sample{kSortYear, 5, 3, 17, 4, 9};
  icu::UnicodeString text;
  dateSeparator = FirstNonDigit(ToWindows1252(date->format(ToDate(sample), text)), '-');
  text.remove();
  timeSeparator = FirstNonDigit(ToWindows1252(time->format(ToDate(sample), text)), ':');
}

UDate IcuLocale::Icu::ToDate(const LocalDateTime& value) const {
  const std::lock_guard<std::mutex> hold(calendarLock);
  UErrorCode status = U_ZERO_ERROR;
  if (!calendar) {
    calendar = std::make_unique<icu::GregorianCalendar>(*icu::TimeZone::getGMT(), status);
  }
  calendar->clear();
  calendar->set(value.year, value.month - 1, value.day, value.hour, value.minute, value.second);
  return calendar->getTime(status);
}

IcuLocale::IcuLocale(std::string_view collation, std::string_view formats)
    : icu_(std::make_unique<Icu>()) {
  const std::string collationName = IcuLocaleName(collation);
  const icu::Locale collationLocale =
      collationName.empty() ? icu::Locale::getRoot() : icu::Locale(collationName.c_str());
  UErrorCode status = U_ZERO_ERROR;
  icu_->collator.reset(icu::Collator::createInstance(collationLocale, status));
  icu_->caseless.reset(icu::Collator::createInstance(collationLocale, status));
  if (U_FAILURE(status) || !icu_->collator || !icu_->caseless) {
    status = U_ZERO_ERROR;
    icu_->collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    icu_->caseless.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
  }
  if (icu_->caseless) icu_->caseless->setStrength(icu::Collator::SECONDARY);
  const std::string formatName = IcuLocaleName(formats);
  if (!formatName.empty()) icu_->SetUpFormats(icu::Locale(formatName.c_str()));
}

IcuLocale::~IcuLocale() = default;

std::unique_ptr<IcuLocale> IcuLocale::FromEnvironment() {
  const std::string time = EnvironmentLocale("LC_TIME");
  return std::make_unique<IcuLocale>(EnvironmentLocale("LC_COLLATE"),
                                     IcuLocaleName(time).empty() ? std::string() : time);
}

char IcuLocale::DecimalSeparator() const {
  return icu_->decimal;
}

char IcuLocale::ThousandsSeparator() const {
  return icu_->thousands;
}

char IcuLocale::DateSeparator() const {
  return icu_->dateSeparator;
}

char IcuLocale::TimeSeparator() const {
  return icu_->timeSeparator;
}

std::string IcuLocale::ShortDateText(const LocalDateTime& value) const {
  if (!icu_->date) return FixedLocale::ShortDateText(value);
  icu::UnicodeString text;
  return ToWindows1252(icu_->date->format(icu_->ToDate(value), text));
}

std::string IcuLocale::LongTimeText(const LocalDateTime& value) const {
  if (!icu_->time) return FixedLocale::LongTimeText(value);
  icu::UnicodeString text;
  return ToWindows1252(icu_->time->format(icu_->ToDate(value), text));
}

std::optional<LocalDateTime> IcuLocale::ParseDateTime(std::string_view text) const {
  if (!icu_->date) return FixedLocale::ParseDateTime(text);
  const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(Windows1252ToUtf8(text));
  for (const icu::SimpleDateFormat* format : {icu_->dateTime.get(), icu_->date.get()}) {
    icu::ParsePosition position(0);
    const UDate date = format->parse(unicode, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != unicode.length()) continue;
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), status);
    calendar.setTime(date, status);
    LocalDateTime value;
    value.year = calendar.get(UCAL_YEAR, status);
    value.month = calendar.get(UCAL_MONTH, status) + 1;
    value.day = calendar.get(UCAL_DATE, status);
    value.hour = calendar.get(UCAL_HOUR_OF_DAY, status);
    value.minute = calendar.get(UCAL_MINUTE, status);
    value.second = calendar.get(UCAL_SECOND, status);
    if (U_SUCCESS(status)) return value;
  }
  return std::nullopt;
}

int IcuLocale::Compare(std::string_view a, std::string_view b) const {
  UErrorCode status = U_ZERO_ERROR;
  std::string storageA;
  std::string storageB;
  const std::string_view x = AsUtf8(a, IsUtf8(a), storageA);
  const std::string_view y = AsUtf8(b, IsUtf8(b), storageB);
  const UCollationResult order = icu_->collator->compareUTF8(Piece(x), Piece(y), status);
  return U_FAILURE(status) ? ByteOrder(x, y) : static_cast<int>(order);
}

int IcuLocale::CompareIgnoringCase(std::string_view a, std::string_view b) const {
  UErrorCode status = U_ZERO_ERROR;
  std::string storageA;
  std::string storageB;
  const bool utf8A = IsUtf8(a);
  const bool utf8B = IsUtf8(b);
  const UCollationResult order = icu_->caseless->compareUTF8(
      Piece(AsUtf8(a, utf8A, storageA)), Piece(AsUtf8(b, utf8B, storageB)), status);
  if (U_SUCCESS(status) && order != UCOL_EQUAL) return static_cast<int>(order);
  return ByteOrder(CaseFolded(a, utf8A), CaseFolded(b, utf8B));
}

std::string IcuLocale::FoldCase(std::string_view text) const {
  return CaseFolded(text, IsUtf8(text));
}

}  // namespace rw
