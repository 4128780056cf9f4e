// The journal beside the program (varnhold-journal.txt): one entry per
// defragmentation and per undo, appended and never truncated, so that an
// administrator who finds backup files can tell when and by which run they
// were made, and so that the last defragmentation can be undone.
//
// An entry, in plain text (CRLF line ends, a blank line between entries):
//
//   [Defragmentation]                 or [Undo]
//   Time=12/7/2026 12:31:17 PM        local time, as the user reads it
//   Stamp=134097390770000000          UTC, 100 ns units since 1601
//   Computer=WORKSTATION              the computer it ran on
//   Restore Point=created             defragmentations only
//   Ended=stopped by the user ...     a run that ended before any swap, why
//   Windows=19045.4291                before its swaps: the build of Windows
//   Store=<size>|<last write>|<file>  and each store hive beside SYSTEM
//   Hives=2                           the number of Hive lines that follow
//   Hive=<outcome>|<current size>|<copy size>|<hive file>|<hive name>
//   Ids=<hive file's identity>|<copy's identity>     optional, after its Hive
//
// Sizes are bytes (-1 when unreadable); an undo's "copy size" is the size of
// the backup it swaps back in. The hive name comes last and may hold any
// character but a line break (a file name cannot hold "|").
//
// A run that swaps writes its entry before the first swap, each hive to be
// swapped with the outcome "to swap", and flushes it; after the last swap
// it appends the outcome:
//
//   [Swap Outcome]
//   Time=...  Stamp=...  Computer=...
//   Run=<the entry's Stamp>
//   Hives=1
//   Hive=scheduled|...               one line per hive that was to be swapped
//
// The reader folds an outcome into its entry. An entry whose outcome never
// came (the program was killed, the power cut) is judged by the files: a
// swap took effect where the hive file is now the file it was to take in.
// Entries written by earlier versions have no Computer, Ended, Ids or "to
// swap" and were written after their swaps, and none has Windows or Store.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hive/machine_state.h"
#include "platform/platform.h"
#include "restore/restore_point.h"

namespace vh {

// RestartNotStarted: swaps of the run before it are pending, and the
// restart that was to make them take effect could not be started.
// SwapOutcome: what became of the swaps of the entry it names; folded into
// that entry when read.
enum class JournalKind { Defragmentation, Undo, RestartNotStarted, SwapOutcome };

// What became of one hive. Skipped is an undo's: the hive was not swapped
// back, for the reason given. ToSwap: written before the swap; NotSwapped:
// read back as such where the files show that the swap never happened.
enum class JournalOutcome { Scheduled, NotCopied, CheckFailed, Refused, Skipped, ToSwap, NotSwapped };

struct JournalHive {
  std::string name;  // as listed under hivelist
  std::string file;
  std::int64_t currentSize = -1;
  std::int64_t copySize = -1;
  JournalOutcome outcome = JournalOutcome::NotCopied;
  long error = 0;          // RegReplaceKeyA's refusal, for Refused
  std::string skipReason;  // for Skipped
  // Files::Identity of the hive file and of the file to take its place
  // (the copy, or for an undo the backup), when the swap was planned;
  // empty when unknown.
  std::string currentId;
  std::string copyId;
};

struct JournalEntry {
  JournalKind kind = JournalKind::Defragmentation;
  std::string time;
  std::uint64_t stamp = 0;
  RestorePointStep restorePoint = RestorePointStep::NotAsked;
  std::vector<JournalHive> hives;
  std::string reason;  // RestartNotStarted: why, in plain words
  std::string computer;  // empty in entries of earlier versions
  std::string ended;     // a run that ended before any swap: why
  std::uint64_t run = 0;  // SwapOutcome: the Stamp of its entry
  // A defragmentation's record of what its undo would not put back, taken
  // right before its swaps; none in entries of earlier versions.
  std::optional<MachineState> machine;
  // Its swaps were written as planned and no outcome followed: each hive
  // to be swapped was judged by its files when read.
  bool judgedByFiles = false;
  // Read back with a field missing or malformed, with fewer or more Hive
  // lines than it announced, or without the blank line that closes it (a
  // write that was cut short).
  bool damaged = false;

  int Scheduled() const;
  // A defragmentation or an undo that scheduled some swap.
  bool SchedulesSwaps() const {
    return (kind == JournalKind::Defragmentation || kind == JournalKind::Undo) && Scheduled() > 0;
  }
  // Written by this computer (or by a version that did not say).
  bool OfComputer(const std::string& name) const;
};

// The journal file beside the program.
std::string JournalPath(Files& files);

// What the journal reader looks at: more than any run writes into an entry.
constexpr std::size_t kJournalTailBytes = 1 << 20;

std::string FormatJournalEntry(const JournalEntry& entry);
// Every entry in the text, in order; text before the first entry (or a cut
// entry at the start of a tail) is passed over. Each swap outcome is folded
// into its entry and not returned; one cut short is dropped.
std::vector<JournalEntry> ParseJournal(const std::string& text);

// The outcome of the swaps of the entry stamped run: the hives that were
// to be swapped, each with what became of it.
JournalEntry SwapOutcomeOf(std::uint64_t run, const std::vector<JournalHive>& hives);

// Judges each hive an entry left "to swap" by the files: Scheduled where
// the hive file is now the file that was to take its place (same identity;
// without identities, where that file's name is gone), NotSwapped elsewhere.
void JudgeByFiles(JournalEntry& entry, Files& files);

// Appends one entry, its time and stamp filled in here. The entry starts on
// a line of its own whatever the file ends with (a write cut short, a line
// of carriage returns, NUL padding), so a broken entry never swallows it.
// False when the file could not be written; the caller logs that and goes on.
struct JournalWriter {
  Files& files;
  SystemInfo& system;
  std::string path;
  std::function<std::string()> nowText;  // the local time as the user reads it
  // Where a journal that cannot be written is reported (varnhold.log).
  std::function<void(const std::string&)> logFailure;
};
// The entry gets its time, stamp and computer here. With flush, the entry
// is on the disk when this returns true (FlushFileBuffers).
bool AppendJournalEntry(const JournalWriter& writer, JournalEntry& entry, bool flush = false);

// The entries at the end of the journal file (its last kJournalTailBytes),
// entries without their outcome judged by the files; none when the file is
// missing or unreadable.
std::vector<JournalEntry> ReadJournal(Files& files, const std::string& path);

}  // namespace vh
