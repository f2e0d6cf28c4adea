#pragma once

#include "config/block_table.h"
#include "ui/pages/common/page_messages.h"

namespace torva {

class CLPGDevice;
class IUserInterface;

// Writes block while the window keeps painting; a failed write shows failure through ui
// (caption "TORVA", error icon). True only when the block was written.
bool writeBlockShowingFailure(CLPGDevice& device, IUserInterface& ui, EBlock block,
                              const char* failure);

// The second half of every page edit: the record already holds the new value; when a
// controller is connected the block that holds it is written (the window keeps painting under
// the wait cursor meanwhile). A write that fails shows failure (translated, caption "TORVA",
// error icon) and the record keeps the new value. Without a controller nothing happens.
// True only when the block was written. Serial faults (CRSError) pass to the caller, whose
// runHandler shows them.
bool writeBlockReported(CLPGDevice& device, EBlock block,
                        const char* failure = page_message::kWriteFailed);

} // namespace torva
