#pragma once

#include <string>
#include <string_view>

#include "host/file_system.h"
#include "model/column_model.h"

namespace rw {

inline constexpr std::string_view kSchemeFileName = "MyScheme.rtw";
inline constexpr std::string_view kSchemeFilter = "RWT Columns Scheme (*.rtw)|*.rtw";
inline constexpr std::string_view kSchemeExtension = "rtw";

// Line i of a scheme: the width of column i, ",", the column at display position i, CR LF.
std::string SchemeText(const ColumnLayout& layout);
// Replaces the file atomically; false keeps the old file.
bool SaveColumnScheme(FileSystem& fs, const std::string& path, const ColumnLayout& layout);

enum class SchemeLoad { kLoaded, kUnreadable, kMalformed };

// Widths and order of a scheme text. The text must start with 26 lines, each two whole
// numbers separated by ",", and the order must hold every column once; anything else is
// kMalformed and leaves layout as it was, so a damaged file cannot hide every column or
// show one twice. Lines after the 26th are ignored; the sort is not part of a scheme.
SchemeLoad ParseColumnScheme(std::string_view text, ColumnLayout& layout);
SchemeLoad LoadColumnScheme(FileSystem& fs, const std::string& path, ColumnLayout& layout);

}  // namespace rw
