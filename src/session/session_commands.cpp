#include "host/path_text.h"
#include "library/parse_cache.h"
#include "session/session.h"

namespace rw {

bool Session::SavePlayList(const std::string& path) {
  return rw::SavePlayList(*files_, frontEnd_.messages, path, playList_.rows());
}

void Session::RefreshList(ScanStatus& status) {
  const std::string folder = appState_.currentFolder();
  if (folder.empty() || appState_.isBusy()) return;
  ListFolder(folder, status);
}

void Session::ReparseList(ScanStatus& status) {
  const std::string folder = appState_.currentFolder();
  if (folder.empty() || appState_.isBusy()) return;
  // Only the cache file the listing itself writes.
  files_->DeleteFile(JoinPath(folder, std::string(kParseCacheName)));
  ListFolder(folder, status);
}

TreeMenuState Session::TreeMenu() {
  return TreeMenuStateFor(tree_.selected(), settings_.global.work_readonly, *files_);
}

FolderNode* Session::NewFolder() {
  if (!TreeMenu().newFolder) return nullptr;
  return rw::NewFolder(tree_, paths_.gameFolder, folderColours(), *files_);
}

void Session::RemoveFolderNode() {
  if (tree_.selected() != nullptr) tree_.Remove(*tree_.selected());
}

std::optional<std::string> Session::RemoveFolderFromDisk() {
  if (!TreeMenu().removeFromDisk) return std::nullopt;
  return rw::RemoveFolderFromDisk(tree_, *tree_.selected(), *files_, frontEnd_.messages);
}

FolderNode* Session::RescanBranch(const std::function<void(const std::string&)>& showPath) {
  BranchContext context{*files_, folderColours(), paths_.gameFolder, showPath};
  return rw::RescanBranch(tree_, context);
}

void Session::CutNonDemoFolders() {
  rw::CutNonDemoFolders(tree_, folderColours());
}

const VersionMenu& Session::VersionMenuOnOpen() {
  versions_.RefreshOnMenuOpen();
  return versions_.menu();
}

bool Session::ChooseVersion(bool newItem) {
  return versions_.Choose(newItem, LaunchOptionsFor({}).globalParameters);
}

void Session::SetRestoreVersion(bool restoreNew) {
  settings_.global.restore_new_version = restoreNew;
  versions_.ShowRestoreOption(restoreNew);
}

void Session::RestoreVersionOnClose() {
  versions_.RestoreAtExit(settings_.global.restore_new_version,
                          LaunchOptionsFor({}).globalParameters);
}

}  // namespace rw
