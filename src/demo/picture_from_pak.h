#pragma once

#include <string>
#include <string_view>

#include "archive/extractor.h"
#include "demo/image.h"
#include "host/cancel.h"
#include "host/file_system.h"
#include "host/messages.h"
#include "model/app_state.h"

namespace rw {

// Level shots, icons and team pictures out of the game's archives.
class PakPictures {
 public:
  PakPictures(
      Extractor& extractor, FileSystem& files, Messages& messages, AppState& appState,
      CancelRequested cancel = [] { return false; })
      : extractor_(extractor),
        files_(files),
        messages_(messages),
        appState_(appState),
        cancel_(std::move(cancel)) {}

  // Decodes the member memberName ("\\"-separated) of the archive into picture: as a JPEG
  // when its extension is exactly ".jpg", else as a Targa picture. False, with picture
  // unchanged, when the archive or the member is missing, cannot be extracted or decoded.
  bool GetPictureFromPak(const std::string& archivePath, std::string_view memberName,
                         Image& picture);

 private:
  Extractor& extractor_;
  FileSystem& files_;
  Messages& messages_;
  AppState& appState_;
  CancelRequested cancel_;
};

}  // namespace rw
