#pragma once

#include <string>
#include <string_view>

#include "demo/demo_read_state.h"

namespace rw {

// The value of key in an info text ("\key\value\key\value\"), keys compared whole and without
// regard to case; "N/A" when no item has that key, empty when its value is not followed by a
// backslash.
std::string GetInfoValueFrom(std::string_view key, std::string_view info);

// The same lookup in the last demo's InfoString.
inline std::string GetInfoValue(const DemoReadState& state, std::string_view key) {
  return GetInfoValueFrom(key, state.InfoString);
}

// The server's protocol in an info text: its "protocol" item, or "com_protocol" as ioquake3
// servers name it since 2011; "N/A" when it has neither.
std::string ServerProtocolFrom(std::string_view info);
inline std::string ServerProtocol(const DemoReadState& state) {
  return ServerProtocolFrom(state.InfoString);
}

// The value of key in a player string ("n\Visor\t\1"), keys compared whole and exactly;
// empty when absent.
std::string GetPlayerValue(std::string_view playerString, std::string_view key);

}  // namespace rw
