#include "app/undo_texts.h"

namespace vh {

const MessageText kUndoConfirmText{
    "RES_Undo_Confirm",
    "Undo the last defragmentation? At the next start Windows puts the old contents of these hives back from "
    "their backups (.bak), and keeps the compacted hives as .undo files:"};
const MessageText kUndoQuestionText{"RES_Undo_Question", "The computer then restarts. Go on?"};
const MessageText kUndoSkippedText{"RES_Undo_Skipped", "These hives stay as they are:"};
// A skipped hive's reason in English is the journal's, but where the
// journal says "the system" the dialog speaks of Windows.
const MessageText kUndoNotLoadedText{"RES_Undo_Not_Loaded", "Windows does not list this hive with this file now"};
const MessageText kUndoNotSwappedInText{"RES_Undo_Not_Swapped_In", UndoSkipText(UndoSkip::NotSwappedIn)};
const MessageText kUndoNoBackupText{"RES_Undo_No_Backup", UndoSkipText(UndoSkip::NoBackup)};
const MessageText kUndoStaleBackupText{"RES_Undo_Stale_Backup", UndoSkipText(UndoSkip::StaleBackup)};
const MessageText kUndoWrongBackupText{"RES_Undo_Wrong_Backup", UndoSkipText(UndoSkip::WrongBackup)};
const MessageText kUndoNotAHiveText{"RES_Undo_Not_A_Hive", UndoSkipText(UndoSkip::NotAHive)};
const MessageText kUndoLossText{
    "RES_Undo_Loss",
    "The defragmentation to undo ran on %s. Every registry change made since then is lost, and Windows restarts "
    "at once: save your work first."};
const MessageText kUndoNothingText{
    "RES_Undo_Nothing",
    "There is no defragmentation to undo. An undo needs a defragmentation whose swaps took effect at a restart, "
    "and the backups (.bak) it left beside the hive files."};
const MessageText kUndoRefusedText{
    "RES_Undo_Refused",
    "Windows refused to swap back any hive, so the computer will not restart. Nothing was changed:"};

const std::vector<MessageText>& UndoMessageTexts() {
  static const std::vector<MessageText> texts = {
      kUndoConfirmText,  kUndoQuestionText,    kUndoSkippedText, kUndoNotLoadedText, kUndoNotSwappedInText,
      kUndoNoBackupText, kUndoStaleBackupText, kUndoWrongBackupText, kUndoNotAHiveText, kUndoLossText,
      kUndoNothingText,  kUndoRefusedText};
  return texts;
}

namespace {

const MessageText& SkipText(UndoSkip skip) {
  switch (skip) {
    case UndoSkip::NotLoaded:
      return kUndoNotLoadedText;
    case UndoSkip::NotSwappedIn:
      return kUndoNotSwappedInText;
    case UndoSkip::StaleBackup:
      return kUndoStaleBackupText;
    case UndoSkip::WrongBackup:
      return kUndoWrongBackupText;
    case UndoSkip::NotAHive:
      return kUndoNotAHiveText;
    case UndoSkip::NoBackup:
      break;
  }
  return kUndoNoBackupText;
}

std::string HiveLine(const JournalHive& hive) { return "\n    " + hive.name + "  (" + hive.file + ")"; }

}  // namespace

std::string UndoConfirmation(const UndoPlan& plan, const Translate& translate) {
  std::string text = translate(kUndoConfirmText) + "\n";
  for (const JournalHive& hive : plan.swapBack) text += HiveLine(hive);
  if (!plan.skipped.empty()) {
    text += "\n\n" + translate(kUndoSkippedText) + "\n";
    for (const auto& skipped : plan.skipped)
      text += "\n    " + skipped.first.name + ": " + translate(SkipText(skipped.second));
  }
  std::string loss = translate(kUndoLossText);
  std::size_t at = loss.find("%s");
  if (at != std::string::npos) loss.replace(at, 2, plan.entry.time);
  return text + "\n\n" + loss + "\n\n" + translate(kUndoQuestionText);
}

std::string UndoRefusedMessage(const JournalEntry& undo, const Translate& translate) {
  std::string text = translate(kUndoRefusedText) + "\n";
  for (const JournalHive& hive : undo.hives)
    if (hive.outcome == JournalOutcome::Refused)
      text += "\n    " + hive.name + "  (" + std::to_string(hive.error) + ")";
  return text;
}

}  // namespace vh
