#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/clock.h"
#include "host/file_system.h"
#include "host/locale.h"
#include "library/listing_sink.h"
#include "library/scan_entry.h"
#include "library/scan_memo.h"
#include "library/scan_sources.h"
#include "library/scan_status.h"
#include "model/app_state.h"
#include "model/row_sink.h"

namespace rw {

// Everything a folder scan works with; the GUI and the command line each wire their own.
struct ScanContext {
  FileSystem& files;
  const Locale& locale;
  Clock& clock;
  AppState& state;
  ScanSources& sources;
  ScanStatus& status;
  RowSink& demoList;
  RowSink& playList;
  std::string userDataFolder;  // where the ".description" files of the demos are
  // How many demos are read side by side; rows, cache lines and messages come out the same.
  size_t jobs = 1;
  ListingSink* listings = nullptr;  // gets every folder listing that runs to its end
};

// Lists the demos of one entry: a folder fills the demo list and rewrites the folder's parse
// cache; a demo file or archive members are appended to the play list. Returns the estimated
// play time of every demo found, in whole seconds.
uint64_t ScanDemos(const ScanEntry& entry, ScanContext& context);
// The same for one of many entries that share folders, such as the lines of a play list.
uint64_t ScanDemos(const ScanEntry& entry, ScanContext& context, ScanMemo& memo);

}  // namespace rw
