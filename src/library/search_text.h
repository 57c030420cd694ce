#pragma once

#include <string>
#include <string_view>

namespace rw {

// Texts as a search compares them, so that "Ça" finds "ca" and "STRASSE" finds "Straße":
// case folded and accents removed. UTF-8 in and out.
std::string FoldForSearch(std::string_view utf8);

// A text from a demo or the notes (Windows-1252) without its colour codes, folded.
std::string FoldedText(std::string_view windows1252);

// What the user typed (the notes, UTF-8) without its colour codes, folded.
std::string FoldedUserText(std::string_view utf8);

// A file, folder or member name (UTF-8, or Windows-1252 when it is not), folded.
std::string FoldedName(std::string_view name);

}  // namespace rw
