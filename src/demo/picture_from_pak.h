#pragma once

#include <string>
#include <string_view>

#include "archive/extractor.h"
#include "demo/image.h"
#include "host/cancel.h"
#include "host/file_system.h"
#include "host/messages.h"

namespace rw {

// Level shots, icons and team pictures out of the game's archives.
class PakPictures {
 public:
  PakPictures(
      Extractor& extractor, FileSystem& files, Messages& messages,
      CancelRequested cancel = [] { return false; })
      : extractor_(extractor), files_(files), messages_(messages), cancel_(std::move(cancel)) {}

  // Decodes the member memberName ("\\"-separated) of the archive into picture: as a JPEG
  // when its extension is exactly ".jpg", else as a Targa picture. False, with picture
  // unchanged, when the archive or the member is missing, cannot be extracted or decoded.
  bool GetPictureFromPak(const std::string& archivePath, std::string_view memberName,
                         Image& picture);
  // Whether the last call could not get the memory for the member (after its message box);
  // the owner of the busy count then ends the busy state.
  bool RanOutOfMemory() const { return ranOutOfMemory_; }

 private:
  Extractor& extractor_;
  FileSystem& files_;
  Messages& messages_;
  CancelRequested cancel_;
  bool ranOutOfMemory_ = false;
};

}  // namespace rw
