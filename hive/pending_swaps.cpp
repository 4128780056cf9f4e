#include "hive/pending_swaps.h"

namespace vh {

const char kSwapsWaitingKey[] = "SOFTWARE\\Varnhold Swaps Waiting";

namespace {

constexpr std::uint32_t kKeyRead = 0x20019;
const char kRunValue[] = "Run";
const char kTimeValue[] = "Time";

std::uint32_t View(bool wow64) { return wow64 ? win::kKeyWow64_64Key : 0; }

}  // namespace

std::optional<WaitingRun> FindWaitingSwaps(Registry& registry, bool wow64) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, kSwapsWaitingKey, kKeyRead | View(wow64));
  if (!key) return std::nullopt;
  WaitingRun run{registry.ReadString(key, kRunValue), registry.ReadString(key, kTimeValue)};
  registry.CloseKey(key);
  if (run.run.empty()) return std::nullopt;
  return run;
}

bool MarkSwapsWaiting(Registry& registry, bool wow64, const WaitingRun& run) {
  KeyHandle key = registry.CreateVolatileKey(RootKey::LocalMachine, kSwapsWaitingKey,
                                             win::kKeyQueryValue | win::kKeySetValue | View(wow64));
  if (!key) return false;
  // The time first: the run's stamp is what makes the key count.
  bool written = registry.WriteString(key, kTimeValue, run.time) == win::kErrorSuccess &&
                 registry.WriteString(key, kRunValue, run.run) == win::kErrorSuccess;
  registry.CloseKey(key);
  return written;
}

void ClearSwapsWaiting(Registry& registry, bool wow64) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, kSwapsWaitingKey, win::kKeySetValue | View(wow64));
  if (!key) return;
  registry.WriteString(key, kRunValue, "");
  registry.CloseKey(key);
}

std::string WaitingRunText(const WaitingRun& run) {
  return "the run of " + (run.time.empty() ? std::string("an unknown time") : run.time) + " (" + run.run + ")";
}

}  // namespace vh
