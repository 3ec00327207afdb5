#pragma once

// Removing one entity keeps the numbering dense: everything behind it moves down by one,
// the freed last slot is zeroed, references held by elements are rewritten, and one green
// line in the message log says what was deleted and renumbered. The callers check the
// preconditions (an existing number; no element using the node or group) and ask the user.

namespace vortak {

struct Model;
class MessageLog;

void DeleteNode(Model& model, MessageLog& log, int n);
void DeleteElement(Model& model, MessageLog& log, int n);
// Does not set the changed flag: the groups dialog does that itself.
void DeleteGroup(Model& model, MessageLog& log, int g);

}  // namespace vortak
