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
//   Restore Point=created             defragmentations only
//   Hives=2                           the number of Hive lines that follow
//   Hive=<outcome>|<current size>|<copy size>|<hive file>|<hive name>
//
// Sizes are bytes (-1 when unreadable); an undo's "copy size" is the size of
// the backup it swaps back in. The hive name comes last and may hold any
// character but a line break (a file name cannot hold "|").
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "restore/restore_point.h"

namespace vh {

// RestartNotStarted: swaps of the run before it are pending, and the
// restart that was to make them take effect could not be started.
enum class JournalKind { Defragmentation, Undo, RestartNotStarted };

// What became of one hive. Skipped is an undo's: the hive was not swapped
// back, for the reason given.
enum class JournalOutcome { Scheduled, NotCopied, CheckFailed, Refused, Skipped };

struct JournalHive {
  std::string name;  // as listed under hivelist
  std::string file;
  std::int64_t currentSize = -1;
  std::int64_t copySize = -1;
  JournalOutcome outcome = JournalOutcome::NotCopied;
  long error = 0;          // RegReplaceKeyA's refusal, for Refused
  std::string skipReason;  // for Skipped
};

struct JournalEntry {
  JournalKind kind = JournalKind::Defragmentation;
  std::string time;
  std::uint64_t stamp = 0;
  RestorePointStep restorePoint = RestorePointStep::NotAsked;
  std::vector<JournalHive> hives;
  std::string reason;  // RestartNotStarted: why, in plain words
  // Read back with a field missing or malformed, with fewer or more Hive
  // lines than it announced, or without the blank line that closes it (a
  // write that was cut short).
  bool damaged = false;

  int Scheduled() const;
  // A defragmentation or an undo that scheduled some swap.
  bool SchedulesSwaps() const { return kind != JournalKind::RestartNotStarted && Scheduled() > 0; }
};

// The journal file beside the program.
std::string JournalPath(Files& files);

// What the journal reader looks at: more than any run writes into an entry.
constexpr std::size_t kJournalTailBytes = 1 << 20;

std::string FormatJournalEntry(const JournalEntry& entry);
// Every entry in the text, in order; text before the first entry (or a cut
// entry at the start of a tail) is passed over.
std::vector<JournalEntry> ParseJournal(const std::string& text);

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
bool AppendJournalEntry(const JournalWriter& writer, JournalEntry entry);

// The entries at the end of the journal file (its last kJournalTailBytes);
// none when the file is missing or unreadable.
std::vector<JournalEntry> ReadJournal(Files& files, const std::string& path);

}  // namespace vh
