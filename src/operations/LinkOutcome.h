#pragma once

#include "operations/OperationOutcome.h"

namespace qm {

class cnComm;

// Finishes an operation's outcome from the port's state. A failure while a stop was requested
// is a cancel: no message boxes, `cancelled` set. Any other failure gets the reason the link
// gave (LinkError.h) in its detail, after the operation's own reason when it has one.
void NoteLinkOutcome(OperationOutcome& outcome, const cnComm& port);

} // namespace qm
