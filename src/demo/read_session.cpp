#include "demo/read_session.h"

namespace rw {

void ReadSession::Log(std::string line) {
  const size_t cost = line.size() + sizeof(std::string);
  if (matchLogBytes + cost > block.size() + kMatchLogSlack) return;
  matchLogBytes += cost;
  state.MatchLog.push_back(std::move(line));
}

}  // namespace rw
