// The texts of the undo's message boxes, each with its key in the language
// files' "ResourceString" section and its English text, which stands where a
// language file lacks the key. A profile value holds one line, so each
// message is built from one-line pieces and the lists of hives.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "hive/undo.h"
#include "lang/translation.h"

namespace vh {

extern const MessageText kUndoConfirmText;
extern const MessageText kUndoQuestionText;
extern const MessageText kUndoSkippedText;
extern const MessageText kUndoNotLoadedText;
extern const MessageText kUndoNotSwappedInText;
extern const MessageText kUndoNoBackupText;
extern const MessageText kUndoStaleBackupText;
extern const MessageText kUndoWrongBackupText;
extern const MessageText kUndoNotAHiveText;
extern const MessageText kUndoLossText;
extern const MessageText kUndoNothingText;
extern const MessageText kUndoRefusedText;

// Every text above, for the checks of the language files.
const std::vector<MessageText>& UndoMessageTexts();

// A text in the current language.
using Translate = std::function<std::string(const MessageText&)>;

// What will happen and to which hives, then the question.
std::string UndoConfirmation(const UndoPlan& plan, const Translate& translate);
// Windows refused every swap back: which hives, and its error for each.
std::string UndoRefusedMessage(const JournalEntry& undo, const Translate& translate);

}  // namespace vh
