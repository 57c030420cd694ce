#include "cli/command_registry.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace rw::cli {
namespace {

std::vector<std::pair<int, CommandSetup>>& Registry() {
  static std::vector<std::pair<int, CommandSetup>> registry;
  return registry;
}

}  // namespace

bool RegisterCommand(int order, CommandSetup setup) {
  Registry().emplace_back(order, std::move(setup));
  return true;
}

void AddRegisteredCommands(CLI::App& app, int& exitCode) {
  auto& registry = Registry();
  std::stable_sort(registry.begin(), registry.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [order, setup] : registry) setup(app, exitCode);
}

}  // namespace rw::cli
