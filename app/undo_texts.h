// The texts of the undo's message boxes, built from the messages of
// res/messages.h and the lists of hives. A language file's value holds one
// line, so each box is built from one-line pieces.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "hive/undo.h"
#include "lang/messages.h"

namespace vh {

// A message in the current language, its places filled.
using Translate = std::function<std::string(unsigned messageId, const std::vector<std::string>& values)>;
Translate TranslateWith(Messages messages);

// What will happen and to which hives, then the question.
std::string UndoConfirmation(const UndoPlan& plan, const Translate& translate);
// Why there is nothing to undo: what changed on the machine since the
// defragmentation, or each hive that cannot go back with its reason.
std::string UndoNothingMessage(const UndoPlan& plan, const Translate& translate);
// Windows refused every swap back: which hives, and its error for each.
std::string UndoRefusedMessage(const JournalEntry& undo, const Translate& translate);

}  // namespace vh
