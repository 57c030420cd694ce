#include "demo/demo_generation.h"

namespace rw {

namespace {

constexpr ProtocolLayout kProtocol45OrLess{0, 4, 6, false, 13, 14};
constexpr ProtocolLayout kProtocol46{4, 0, 15, false, 13, 14};
constexpr ProtocolLayout kProtocol47OrMore{4, 0, 14, true, 21, 22};

}  // namespace

const ProtocolLayout& LayoutOf(int32_t protocol) {
  if (protocol <= 45) return kProtocol45OrLess;
  return protocol == 46 ? kProtocol46 : kProtocol47OrMore;
}

DemoGeneration GenerationOfProtocolText(std::string_view protocol) {
  return protocol >= std::string_view("47") ? DemoGeneration::k127 : DemoGeneration::k117;
}

std::string_view DemoExtension(DemoGeneration generation) {
  return generation == DemoGeneration::k127 ? ".dm_48" : ".dm3";
}

std::string_view VersionLabel(DemoGeneration generation) {
  return generation == DemoGeneration::k127 ? "1.27" : "1.17";
}

bool IsPlayableProtocolText(std::string_view protocol) {
  return protocol != "46";
}

}  // namespace rw
