#include "app/undo_texts.h"

namespace vh {

namespace {

// A skipped hive's reason says what the journal says, but where the
// journal says "the system" the box speaks of Windows.
unsigned SkipMessage(UndoSkip skip) {
  switch (skip) {
    case UndoSkip::NotLoaded:
      return IDS_UNDO_NOT_LOADED;
    case UndoSkip::NotSwappedIn:
      return IDS_UNDO_NOT_SWAPPED_IN;
    case UndoSkip::StaleBackup:
      return IDS_UNDO_STALE_BACKUP;
    case UndoSkip::WrongBackup:
      return IDS_UNDO_WRONG_BACKUP;
    case UndoSkip::NotAHive:
      return IDS_UNDO_NOT_A_HIVE;
    case UndoSkip::OtherHive:
      return IDS_UNDO_OTHER_HIVE;
    case UndoSkip::NotTogether:
      return IDS_UNDO_NOT_TOGETHER;
    case UndoSkip::NoBackup:
      break;
  }
  return IDS_UNDO_NO_BACKUP;
}

unsigned RefusalMessage(UndoRefusal refusal) {
  switch (refusal) {
    case UndoRefusal::NoEntry:
      return IDS_UNDO_NO_ENTRY;
    case UndoRefusal::Damaged:
      return IDS_UNDO_DAMAGED;
    case UndoRefusal::NothingScheduled:
      return IDS_UNDO_NOTHING_SCHEDULED;
    case UndoRefusal::AlreadyUndone:
      return IDS_UNDO_ALREADY_UNDONE;
    case UndoRefusal::NotRestarted:
      return IDS_UNDO_NOT_RESTARTED;
    case UndoRefusal::TooOld:
      return IDS_UNDO_TOO_OLD;
    case UndoRefusal::MachineChanged:
      return IDS_UNDO_MACHINE_CHANGED;
    case UndoRefusal::None:
    case UndoRefusal::NothingToSwapBack:
      break;
  }
  return IDS_UNDO_NOTHING_TO_SWAP_BACK;
}

std::string HiveLine(const JournalHive& hive) { return "\n    " + hive.name + "  (" + hive.file + ")"; }

std::string SkippedLines(const UndoPlan& plan, const Translate& translate) {
  std::string text;
  for (const auto& skipped : plan.skipped)
    text += "\n    " + skipped.first.name + ": " + translate(SkipMessage(skipped.second), {});
  return text;
}

}  // namespace

Translate TranslateWith(Messages messages) {
  return [messages = std::move(messages)](unsigned id, const std::vector<std::string>& values) {
    return messages.Text(id, values);
  };
}

std::string UndoConfirmation(const UndoPlan& plan, const Translate& translate) {
  std::string text = translate(IDS_UNDO_CONFIRM, {}) + "\n";
  for (const JournalHive& hive : plan.swapBack) text += HiveLine(hive);
  if (!plan.skipped.empty()) text += "\n\n" + translate(IDS_UNDO_SKIPPED, {}) + "\n" + SkippedLines(plan, translate);
  return text + "\n\n" + translate(IDS_UNDO_LOSS, {plan.entry.time}) + "\n\n" + translate(IDS_UNDO_QUESTION, {});
}

std::string UndoNothingMessage(const UndoPlan& plan, const Translate& translate) {
  std::string text = translate(IDS_UNDO_NOTHING, {}) + "\n\n" + translate(RefusalMessage(plan.refusal), {});
  if (!plan.changes.empty()) text += "\n";
  for (const Phrase& change : plan.changes) text += "\n    " + translate(change.id, change.values);
  if (plan.refusal == UndoRefusal::NothingToSwapBack) text += "\n" + SkippedLines(plan, translate);
  return text;
}

std::string UndoRefusedMessage(const JournalEntry& undo, const Translate& translate) {
  std::string text = translate(IDS_UNDO_REFUSED, {}) + "\n";
  for (const JournalHive& hive : undo.hives)
    if (hive.outcome == JournalOutcome::Refused)
      text += "\n    " + hive.name + "  (" + std::to_string(hive.error) + ")";
  return text;
}

}  // namespace vh
