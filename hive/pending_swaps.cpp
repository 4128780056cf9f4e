#include "hive/pending_swaps.h"

#include <vector>

#include "hive/hive_copy.h"
#include "hive/hive_table.h"
#include "hive/journal.h"

namespace vh {

const char kSwapsWaitingKey[] = "SOFTWARE\\Varnhold Swaps Waiting";

namespace {

const char kParentKey[] = "SOFTWARE";
const char kKeyName[] = "Varnhold Swaps Waiting";
const char kRunValue[] = "Run";
const char kTimeValue[] = "Time";
const char kComputerValue[] = "Computer";

// What the key's flags say it is, asked of its parent as the copy check
// asks; Unknown where the system cannot tell.
KeyKind KindOfWaitingKey(Registry& registry) {
  KeyHandle parent = registry.OpenKeyEx(RootKey::LocalMachine, kParentKey, win::kKeyRead);
  if (!parent) return KeyKind::Unknown;
  KeyKind kind = registry.QueryKeyKind(parent, kKeyName);
  registry.CloseKey(parent);
  return kind;
}

// The run the key names, whatever kind of key it is; nullopt without a key.
std::optional<WaitingRun> ReadWaitingKey(Registry& registry) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, kSwapsWaitingKey, win::kKeyRead);
  if (!key) return std::nullopt;
  WaitingRun run{registry.ReadString(key, kRunValue), registry.ReadString(key, kTimeValue),
                 registry.ReadString(key, kComputerValue)};
  registry.CloseKey(key);
  return run;
}

// Every hive the entry swapped is now the file it swapped in, and the file
// it swapped out is no longer the system's live hive.
bool TookEffect(Files& files, const JournalEntry& entry) {
  bool any = false;
  for (const JournalHive& hive : entry.hives) {
    if (hive.outcome != JournalOutcome::Scheduled) continue;
    if (hive.copyId.empty() || files.Identity(hive.file).value_or("") != hive.copyId) return false;
    const std::string left = entry.kind == JournalKind::Undo ? UndoPath(hive.file) : BackupPath(hive.file);
    if (IsFileLocked(files, left)) return false;
    any = true;
  }
  return any;
}

std::string KeyText() { return std::string("HKEY_LOCAL_MACHINE\\") + kSwapsWaitingKey; }

}  // namespace

std::optional<WaitingRun> FindWaitingSwaps(Registry& registry) {
  std::optional<WaitingRun> run = ReadWaitingKey(registry);
  if (!run || run->run.empty()) return std::nullopt;
  const KeyKind kind = KindOfWaitingKey(registry);
  if (kind == KeyKind::Ordinary || kind == KeyKind::Link) return std::nullopt;
  return run;
}

bool RemoveStaleWaitingKey(Registry& registry, Files& files, const std::string& journalPath,
                           const std::function<void(const std::string&)>& log) {
  std::optional<WaitingRun> run = ReadWaitingKey(registry);
  if (!run) return false;
  const KeyKind kind = KindOfWaitingKey(registry);
  std::string why;
  if (kind == KeyKind::Ordinary || kind == KeyKind::Link) {
    why = "it is no volatile key and would outlive the restart";
  } else if (kind == KeyKind::Unknown && !run->run.empty()) {
    for (const JournalEntry& entry : ReadJournal(files, journalPath))
      if (std::to_string(entry.stamp) == run->run && entry.SchedulesSwaps() && TookEffect(files, entry))
        why = "its swaps have taken effect with a restart since, which it outlived";
  }
  if (why.empty() || registry.DeleteKey(RootKey::LocalMachine, kSwapsWaitingKey) != win::kErrorSuccess) return false;
  if (log) log("The key " + KeyText() + " named " + WaitingRunText(*run) + ", but " + why + "; it was removed.");
  return true;
}

bool MarkSwapsWaiting(Registry& registry, const WaitingRun& run, const std::function<void(const std::string&)>& log) {
  constexpr std::uint32_t kAccess = win::kKeyQueryValue | win::kKeySetValue;
  bool existed = false;
  KeyHandle key = registry.CreateVolatileKey(RootKey::LocalMachine, kSwapsWaitingKey, kAccess, &existed);
  if (!key) return false;
  // REG_OPTION_VOLATILE is ignored for a key that exists: one that is not
  // volatile, or may not be, would outlive the restart and refuse every
  // run after it.
  const KeyKind kind = existed ? KindOfWaitingKey(registry) : KeyKind::Volatile;
  if (kind != KeyKind::Volatile) {
    registry.CloseKey(key);
    const long deleted = registry.DeleteKey(RootKey::LocalMachine, kSwapsWaitingKey);
    if (log && (kind != KeyKind::Unknown || deleted != win::kErrorSuccess))
      log("The key " + KeyText() + " was there already and is not volatile, so it would outlive the restart; " +
          (deleted == win::kErrorSuccess ? std::string("it was deleted and made again.")
                                         : "it could not be deleted (error " + std::to_string(deleted) + ")."));
    if (deleted != win::kErrorSuccess) return false;
    key = registry.CreateVolatileKey(RootKey::LocalMachine, kSwapsWaitingKey, kAccess, &existed);
    if (!key) return false;
    if (existed) {
      registry.CloseKey(key);
      return false;
    }
  }
  // The run's stamp last: it is what makes the key count.
  bool written = registry.WriteString(key, kTimeValue, run.time) == win::kErrorSuccess &&
                 registry.WriteString(key, kComputerValue, run.computer) == win::kErrorSuccess &&
                 registry.WriteString(key, kRunValue, run.run) == win::kErrorSuccess;
  registry.CloseKey(key);
  return written;
}

void ClearSwapsWaiting(Registry& registry) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, kSwapsWaitingKey, win::kKeySetValue);
  if (!key) return;
  registry.WriteString(key, kRunValue, "");
  registry.CloseKey(key);
}

std::string WaitingRunText(const WaitingRun& run) {
  std::string text =
      "the run of " + (run.time.empty() ? std::string("an unknown time") : run.time) + " (" + run.run + ")";
  if (!run.computer.empty()) text += " on " + run.computer;
  return text;
}

}  // namespace vh
