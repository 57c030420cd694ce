#include "demo/picture_from_pak.h"

#include <memory>
#include <new>
#include <optional>
#include <span>

#include "archive/directory_reader.h"
#include "demo/jpeg_decoder.h"
#include "demo/targa_decoder.h"

namespace rw {
namespace {

constexpr const char* kCaption = "Debug";

// The text from the name's last dot on, when that dot is in the last path element.
std::string_view Extension(std::string_view name) {
  const size_t dot = name.find_last_of(".\\:");
  if (dot == std::string_view::npos || name[dot] != '.') return {};
  return name.substr(dot);
}

}  // namespace

bool PakPictures::GetPictureFromPak(const std::string& archivePath, std::string_view memberName,
                                    Image& picture) {
  ranOutOfMemory_ = false;
  if (!files_.Exists(archivePath) || files_.IsFolder(archivePath)) return false;
  ArchiveCursor cursor;
  const int found = ArchiveFind(archivePath, memberName, cursor);
  ArchiveClose(cursor);
  if (found != kArchiveMember) return false;

  uint32_t size = cursor.size;
  const std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size]);
  if (!block) {
    messages_.Show(kCaption, "Memory Allocation Error in proc GetPictureFromPak",
                   MessageIcon::kError);
    ranOutOfMemory_ = true;
    return false;
  }
  if (extractor_.unzipfiletomemory(archivePath, block.get(), size, cancel_,
                                   cursor.localHeaderOffset) != kExtractOk) {
    messages_.Show(kCaption,
                   "Memory Allocation Error in proc GetPictureFromPak (unzipfiletomemory)",
                   MessageIcon::kError);
    return false;
  }
  const std::span<const uint8_t> bytes(block.get(), size);
  std::optional<Image> image =
      Extension(memberName) == ".jpg" ? DecodeJpeg(bytes) : DecodeTarga(bytes);
  if (!image) return false;
  picture = std::move(*image);
  return true;
}

}  // namespace rw
