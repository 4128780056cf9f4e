// The journal is a text file beside the program that anyone with access to
// that folder can edit, and the undo acts on what it reads: reading must hold
// for any bytes, an entry read whole must write back to the same entry, and
// no hive the system does not list may ever be planned for a swap.
#include <cstddef>
#include <cstdint>
#include <string>

#include "hive/hive_table.h"
#include "hive/journal.h"
#include "hive/undo.h"
#include "tests/support/fake_platform.h"

namespace {

bool Same(const vh::JournalEntry& a, const vh::JournalEntry& b) {
  if (a.kind != b.kind || a.time != b.time || a.stamp != b.stamp || a.hives.size() != b.hives.size() ||
      a.computer != b.computer || a.ended != b.ended)
    return false;
  if (a.kind == vh::JournalKind::Defragmentation && a.restorePoint != b.restorePoint) return false;
  if (a.machine.has_value() != b.machine.has_value()) return false;
  if (a.machine) {
    if (a.machine->build != b.machine->build || a.machine->stores.size() != b.machine->stores.size()) return false;
    for (std::size_t i = 0; i < a.machine->stores.size(); ++i) {
      const vh::StoreHive& x = a.machine->stores[i];
      const vh::StoreHive& y = b.machine->stores[i];
      if (x.file != y.file || x.size != y.size || x.written != y.written) return false;
    }
  }
  for (std::size_t i = 0; i < a.hives.size(); ++i) {
    const vh::JournalHive& x = a.hives[i];
    const vh::JournalHive& y = b.hives[i];
    if (x.name != y.name || x.file != y.file || x.currentSize != y.currentSize || x.copySize != y.copySize ||
        x.outcome != y.outcome || x.error != y.error || x.skipReason != y.skipReason || x.currentId != y.currentId ||
        x.copyId != y.copyId)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<vh::JournalEntry> entries = vh::ParseJournal(text);
  for (const vh::JournalEntry& e : entries) {
    if (e.damaged) continue;
    std::vector<vh::JournalEntry> again = vh::ParseJournal(vh::FormatJournalEntry(e));
    if (again.size() != 1 || again[0].damaged || !Same(e, again[0])) __builtin_trap();
  }

  vh::FakePlatform fake;
  fake.SetFileText(vh::JournalPath(fake), text);
  fake.AddFile("C:\\W\\software.bak");
  fake.AddFile("C:\\W\\system.bak");
  vh::HiveTable loaded;
  loaded.Append("\\REGISTRY\\MACHINE\\SOFTWARE", "C:\\W\\software");
  loaded.Append("\\REGISTRY\\MACHINE\\SYSTEM", "C:\\W\\system");
  vh::UndoPlan plan =
      vh::PlanUndo(vh::ReadJournal(fake, vh::JournalPath(fake)), loaded, fake.platform(), false);
  for (const vh::JournalHive& h : plan.swapBack) {
    bool listed = false;
    for (std::size_t i = 0; i < loaded.size(); ++i)
      listed = listed || (h.name == loaded.HiveNames[i] && h.file == loaded.HiveFiles[i]);
    if (!listed) __builtin_trap();
  }
  if (plan.Offered() != !plan.swapBack.empty()) __builtin_trap();
  return 0;
}
