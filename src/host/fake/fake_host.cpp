#include "host/fake/fake_host.h"

#include <algorithm>
#include <cerrno>

#include "host/path_separator.h"

namespace rw {
namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

MessageAnswer FakeMessages::Show(std::string_view caption, std::string_view text, MessageIcon icon,
                                 MessageButtons buttons) {
  shown.push_back({"message", std::string(caption), std::string(text), icon, buttons});
  if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
  if (answers.empty()) return MessageAnswer::kNo;
  const MessageAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> FakeMessages::Ask(std::string_view caption, std::string_view prompt,
                                             std::string_view) {
  shown.push_back(
      {"ask", std::string(caption), std::string(prompt), MessageIcon::kNone, MessageButtons::kOk});
  if (inputs.empty()) return std::nullopt;
  std::optional<std::string> input = inputs.front();
  inputs.pop_front();
  return input;
}

std::optional<std::string> FakeMessages::ChooseFolder(std::string_view title,
                                                      std::string_view explanation,
                                                      const std::vector<FolderOffer>& offers,
                                                      std::string_view root) {
  shown.push_back(
      {"folder", std::string(title), std::string(root), MessageIcon::kNone, MessageButtons::kOk});
  lastExplanation = explanation;
  lastOffers = offers;
  if (inputs.empty()) return std::nullopt;
  std::optional<std::string> input = inputs.front();
  inputs.pop_front();
  return input;
}

bool FakeFileSystem::SetHidden(const std::string& path) {
  if (!Exists(path)) return false;
  hidden.push_back(path);
  return true;
}

std::string FakeFileSystem::ShortPath(const std::string& path) {
  const auto found = shortPaths.find(path);
  return found != shortPaths.end() ? found->second : path;
}

std::string FakeFileSystem::DriveOf(const std::string& path) {
  const std::string* drive = nullptr;
  for (const std::string& mount : mounts) {
    const bool holds = path.starts_with(mount) &&
                       (path.size() == mount.size() || path[mount.size()] == kPathSeparator);
    if (holds && (drive == nullptr || mount.size() > drive->size())) drive = &mount;
  }
  return drive != nullptr ? *drive : PosixFileSystem::DriveOf(path);
}

DriveKind FakeFileSystem::KindOfDrive(const std::string& root) {
  const auto found = driveKinds.find(root);
  return found != driveKinds.end() ? found->second : PosixFileSystem::KindOfDrive(root);
}

bool FakeFileSystem::IsDriveReadOnly(const std::string& root) {
  return Contains(readOnlyDrives, root);
}

bool FakeFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes) {
  if (Contains(failWrites, path)) return false;
  return PosixFileSystem::WriteFileAtomic(path, bytes);
}

FileResult FakeFileSystem::Rename(const std::string& from, const std::string& to) {
  if (Contains(failRenames, from)) return {FileResult::kOther, EACCES};
  return PosixFileSystem::Rename(from, to);
}

FileResult FakeFileSystem::MoveFile(const std::string& from, const std::string& to) {
  if (Contains(failRenames, from)) return {FileResult::kOther, EACCES};
  return PosixFileSystem::MoveFile(from, to);
}

FileResult FakeFileSystem::MoveToTrash(const std::string& path) {
  if (Contains(failRenames, path)) return {FileResult::kOther, EACCES};
  return PosixFileSystem::MoveToTrash(path);
}

}  // namespace rw
