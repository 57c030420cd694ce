#pragma once

#include "demo/read_session.h"

namespace rw {

// Walks the records of a demo whose server info and protocol are known, from the first to
// the end marker, handing the operations of each message on. Read errors throw
// ParsingError.
void WalkRecords(ReadSession& session);

}  // namespace rw
