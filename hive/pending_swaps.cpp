#include "hive/pending_swaps.h"

namespace vh {

const char kSwapsWaitingKey[] = "SOFTWARE\\Varnhold Swaps Waiting";

namespace {

const char kRunValue[] = "Run";
const char kTimeValue[] = "Time";

}  // namespace

std::optional<WaitingRun> FindWaitingSwaps(Registry& registry) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, kSwapsWaitingKey, win::kKeyRead);
  if (!key) return std::nullopt;
  WaitingRun run{registry.ReadString(key, kRunValue), registry.ReadString(key, kTimeValue)};
  registry.CloseKey(key);
  if (run.run.empty()) return std::nullopt;
  return run;
}

bool MarkSwapsWaiting(Registry& registry, const WaitingRun& run) {
  KeyHandle key = registry.CreateVolatileKey(RootKey::LocalMachine, kSwapsWaitingKey,
                                             win::kKeyQueryValue | win::kKeySetValue);
  if (!key) return false;
  // The time first: the run's stamp is what makes the key count.
  bool written = registry.WriteString(key, kTimeValue, run.time) == win::kErrorSuccess &&
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
  return "the run of " + (run.time.empty() ? std::string("an unknown time") : run.time) + " (" + run.run + ")";
}

}  // namespace vh
