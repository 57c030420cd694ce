#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/file_system.h"
#include "host/messages.h"
#include "model/app_state.h"
#include "model/folder_move.h"
#include "model/folder_tree.h"

namespace rw {

// The two folder text colours; nodes are told apart only by comparing with the non-demo one.
struct FolderColours {
  uint32_t demo = 0;
  uint32_t nonDemo = 0x808080;
};

inline bool IsDemoFolder(const FolderNode& node, const FolderColours& colours) {
  return node.colour != colours.nonDemo;
}

// The closed and selected image of a node by its kind: plain folder, demo folder, the game
// folder, a drive.
void SetNodeImages(FolderNode& node, const std::string& gameFolder, const FolderColours& colours,
                   FileSystem& fs);

// Whether selecting a node lists its folder: not while busy, and not when it is the current
// folder unless a listing of it was aborted with Escape.
bool ShouldListOnSelect(const AppState& state, std::string_view nodePath);

// Whether path lies inside the game folder (lower-case prefix).
bool IsInsideGameFolder(std::string_view path, std::string_view gameFolder);

// "New Demo Folder", "New Demo Folder (2)", ...; inside the game folder "NewDemoFolder",
// "NewDemoFolder(2)", ... The first name not taken, compared without regard to case.
std::string NewFolderName(const std::vector<std::string>& taken, bool insideGameFolder);

// Creates the next new folder below the selected node and selects its node; nullptr when
// nothing is selected or the folder cannot be created.
FolderNode* NewFolder(FolderTree& tree, const std::string& gameFolder, const FolderColours& colours,
                      FileSystem& fs);

// Whether the drive that holds path refuses changes: a CD-ROM, or a drive (under Linux a
// mount) that is read-only.
bool DriveRefusesChanges(const std::string& path, FileSystem& fs);

// Editing a node's text may start only outside read-only mode and not on a refusing drive.
bool CanEditFolderName(const FolderNode& node, bool readOnly, FileSystem& fs);

// Renames the node's folder on disk; on refusal or failure shows the message and keeps the
// old text. newText is the folder's new name; for a top-level node also its full path with
// the same parent, which the node keeps as its text. Gives the move on success, for
// FollowFolderMove.
std::optional<FolderMove> RenameFolder(FolderTree& tree, FolderNode& node, std::string newText,
                                       const std::string& gameFolder, FileSystem& fs,
                                       Messages& messages);

// "Remove Folder from HD..": asks, removes the empty folder and its node. Gives the status
// text, or nullopt when the user said No.
std::optional<std::string> RemoveFolderFromDisk(FolderTree& tree, FolderNode& node, FileSystem& fs,
                                                Messages& messages);

// Deletes every childless non-demo node from the selected node's branch root to the end of
// the tree, children before parents. Nothing on disk changes.
void CutNonDemoFolders(FolderTree& tree, const FolderColours& colours);

// Gives one class of folders a new colour; refused (false) when it equals the other class's.
bool ChangeFolderColour(FolderTree& tree, FolderColours& colours, bool demoClass,
                        uint32_t newColour);

struct TreeMenuState {
  bool newFolder = false;
  bool removeFromDisk = false;
  bool rename = false;
};
TreeMenuState TreeMenuStateFor(const FolderNode* selected, bool readOnly, FileSystem& fs);

// The demo list as moving demos onto a folder needs it.
class DemoListSelection {
 public:
  virtual ~DemoListSelection() = default;
  virtual bool HasSelection() const = 0;
  virtual std::string FirstSelectedLocation() const = 0;
  virtual std::string FirstSelectedName() const = 0;
  virtual void RemoveFirstSelected() = 0;
  virtual bool Empty() const = 0;
};

// Whether demo list rows may be dropped on target: not in read-only mode, only from the demo
// list, not onto the selected node or a CD-ROM, and no selected row inside an archive
// (images 1 to 3).
bool CanDropDemosOnNode(const FolderNode* target, const FolderTree& tree, bool readOnly,
                        bool fromDemoList, const std::set<int>& selectedImages, FileSystem& fs);

// Moves the selected demos into target's folder, asking before an existing file is replaced;
// the folder colours follow where the demos went.
void MoveDemosOntoNode(FolderTree& tree, FolderNode& target, DemoListSelection& list,
                       const FolderColours& colours, FileSystem& fs, Messages& messages);

}  // namespace rw
