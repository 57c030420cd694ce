#pragma once

#include <string>
#include <string_view>

namespace rw {

// A UTF-8 text (typed by the user, or a name going into a side file) as Windows-1252.
// Characters Windows-1252 lacks become "?"; bytes that are no UTF-8 are kept as they are.
// The control characters U+0081, U+008D, U+008F, U+0090 and U+009D become the bytes the code
// page leaves undefined, as Windows converts them.
std::string Utf8ToWindows1252(std::string_view utf8);

// The five bytes Windows-1252 gives no character.
bool IsUndefinedInWindows1252(char byte);

}  // namespace rw
