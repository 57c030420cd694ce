#pragma once

#include <functional>

namespace rw {

// Asked between units of long work; true stops the work. The GUI wires it to a key.
using CancelRequested = std::function<bool()>;

}  // namespace rw
