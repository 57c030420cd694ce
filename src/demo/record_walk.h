#pragma once

#include "demo/demo_generation.h"
#include "demo/read_session.h"

namespace rw {

// Walks the records of a demo whose server info and protocol are known, from the first to
// the end marker, handing the operations of each message, decoded as the coding says, on.
// Read errors inside a record that lies wholly in the demo throw ParsingError; the last record
// of a demo cut off at its end is read as far as the demo goes.
void WalkRecords(ReadSession& session, MessageCoding coding);

}  // namespace rw
