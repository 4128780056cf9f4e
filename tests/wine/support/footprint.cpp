#include "tests/wine/support/footprint.h"

#include <winternl.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstdint>

namespace vh::test {

namespace {

// One entry of the GDI handle table; the layout is the same for 32-bit and
// 64-bit processes. A free entry has type 0.
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t extType;
  std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "GDI handle entry layout");
constexpr std::size_t kGdiHandleCount = 0x10000;

template <typename T>
T At(const void* base, std::size_t offset) {
  return *reinterpret_cast<const T*>(static_cast<const BYTE*>(base) + offset);
}

// PEB.GdiSharedHandleTable. A 32-bit process under Wine's WoW64 finds it in
// the 64-bit PEB only, reached through the 64-bit TEB whose address Wine
// keeps in the 32-bit TEB's GdiBatchCount.
const GdiHandleEntry* GdiHandleTable() {
  const void* teb = NtCurrentTeb();
  const void* peb = At<const void*>(teb, sizeof(void*) == 4 ? 0x30 : 0x60);
  auto table = At<const GdiHandleEntry*>(peb, sizeof(void*) == 4 ? 0x94 : 0xF8);
  if (table || sizeof(void*) != 4) return table;
  auto teb64 = reinterpret_cast<const void*>(std::uintptr_t(At<std::uint32_t>(teb, 0xF70)));
  if (!teb64) return nullptr;
  auto peb64 = reinterpret_cast<const void*>(std::uintptr_t(At<std::uint64_t>(teb64, 0x60)));
  return peb64 ? reinterpret_cast<const GdiHandleEntry*>(std::uintptr_t(At<std::uint64_t>(peb64, 0xF8))) : nullptr;
}

bool InUse(const GdiHandleEntry* table, HGDIOBJ object) {
  return table[reinterpret_cast<std::uintptr_t>(object) & 0xFFFF].type != 0;
}

DWORD CountTableEntries() {
  const GdiHandleEntry* table = GdiHandleTable();
  DWORD n = 0;
  for (std::size_t i = 0; i < kGdiHandleCount; ++i) n += table[i].type != 0;
  return n;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  return TRUE;
}

BOOL CALLBACK CountOwnTopLevel(HWND h, LPARAM count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<DWORD*>(count);
  EnumChildWindows(h, CountChild, count);
  return TRUE;
}

}  // namespace

bool CanCountGdiObjects() {
  if (GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0) return true;
  if (!GdiHandleTable()) return false;
  // The table is the one GDI keeps if a new brush shows in it and leaves it.
  HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
  bool listed = InUse(GdiHandleTable(), probe);
  DeleteObject(probe);
  return listed && !InUse(GdiHandleTable(), probe);
}

DWORD CountGdiObjects() {
  DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0 || !GdiHandleTable()) return reported;
  return CountTableEntries();
}

DWORD CountWindows() {
  DWORD n = 0;
  EnumWindows(CountOwnTopLevel, reinterpret_cast<LPARAM>(&n));
  for (HWND h = nullptr; (h = FindWindowExA(HWND_MESSAGE, h, nullptr, nullptr)) != nullptr;) {
    CountOwnTopLevel(h, reinterpret_cast<LPARAM>(&n));
  }
  return n;
}

DWORD CountHandles() {
  DWORD n = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &n) && n != 0) return n;
  // Handles are small multiples of four; an unused one has no information.
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags;
    n += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
  }
  return n;
}

Footprint MeasureFootprint() {
  Footprint f;
  f.gdi = CountGdiObjects();
  f.windows = CountWindows();
  f.handles = CountHandles();
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc)) {
    f.workingSet = pmc.WorkingSetSize;
    f.peakWorkingSet = pmc.PeakWorkingSetSize;
  }
  return f;
}

}  // namespace vh::test
