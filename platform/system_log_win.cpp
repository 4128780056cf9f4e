// The System log's hive reorganisation entries, through the event log API
// of Vista and later (wevtapi.dll). It is looked up at run time: XP has no
// such library, and an import of it would stop the program from starting
// there. winevt.h declares nothing below Vista, so the few types used are
// declared here as the API documents them.
#include <windows.h>

#include <vector>

#include "platform/system_library_win.h"
#include "platform/text_win.h"
#include "platform/win32_platform_win.h"

namespace vh {

namespace {

using EvtHandle = HANDLE;

// EVT_VARIANT: an 8-byte value, its count and its EVT_VARIANT_TYPE.
struct EvtVariant {
  union {
    UINT16 uint16;
    UINT32 uint32;
    UINT64 uint64;
    INT32 int32;
    INT64 int64;
    ULONGLONG fileTime;
    LPCWSTR text;
  };
  DWORD count;
  DWORD type;
};
static_assert(sizeof(EvtVariant) == 16, "EVT_VARIANT is 16 bytes");

enum : DWORD {
  kEvtVarTypeNull = 0,
  kEvtVarTypeString = 1,
  kEvtVarTypeUInt16 = 6,
  kEvtVarTypeInt32 = 7,
  kEvtVarTypeUInt32 = 8,
  kEvtVarTypeInt64 = 9,
  kEvtVarTypeUInt64 = 10,
  kEvtVarTypeFileTime = 17,
  kEvtVarTypeHexInt32 = 20,
  kEvtVarTypeHexInt64 = 21,
};
constexpr DWORD kEvtQueryChannelPath = 0x1;
constexpr DWORD kEvtQueryReverseDirection = 0x200;
constexpr DWORD kEvtRenderContextValues = 0;
constexpr DWORD kEvtRenderEventValues = 0;
constexpr DWORD kNextTimeoutMs = 5000;

using EvtQueryFn = EvtHandle(WINAPI*)(EvtHandle session, LPCWSTR path, LPCWSTR query, DWORD flags);
using EvtNextFn = BOOL(WINAPI*)(EvtHandle results, DWORD size, EvtHandle* events, DWORD timeout, DWORD flags,
                                DWORD* returned);
using EvtCreateRenderContextFn = EvtHandle(WINAPI*)(DWORD count, LPCWSTR* paths, DWORD flags);
using EvtRenderFn = BOOL(WINAPI*)(EvtHandle context, EvtHandle fragment, DWORD flags, DWORD bufferSize, PVOID buffer,
                                  DWORD* used, DWORD* properties);
using EvtCloseFn = BOOL(WINAPI*)(EvtHandle object);

// The values each entry is rendered into, in LoggedEvent's order.
LPCWSTR kValuePaths[] = {L"Event/System/Provider/@Name",
                         L"Event/System/EventID",
                         L"Event/System/TimeCreated/@SystemTime",
                         L"Event/EventData/Data[@Name='HiveName']",
                         L"Event/EventData/Data[@Name='OriginalSize']",
                         L"Event/EventData/Data[@Name='NewSize']"};
constexpr DWORD kValueCount = sizeof kValuePaths / sizeof kValuePaths[0];

std::string Text(const EvtVariant& v) {
  switch (v.type) {
    case kEvtVarTypeString:
      return v.text ? WideToUtf8(v.text) : std::string();
    case kEvtVarTypeUInt16:
      return std::to_string(v.uint16);
    case kEvtVarTypeUInt32:
    case kEvtVarTypeHexInt32:
      return std::to_string(v.uint32);
    case kEvtVarTypeInt32:
      return std::to_string(v.int32);
    case kEvtVarTypeUInt64:
    case kEvtVarTypeHexInt64:
    case kEvtVarTypeFileTime:
      return std::to_string(v.uint64);
    case kEvtVarTypeInt64:
      return std::to_string(v.int64);
    default:
      return "";
  }
}

std::uint64_t Number(const EvtVariant& v) {
  switch (v.type) {
    case kEvtVarTypeUInt16:
      return v.uint16;
    case kEvtVarTypeUInt32:
    case kEvtVarTypeHexInt32:
      return v.uint32;
    case kEvtVarTypeUInt64:
    case kEvtVarTypeHexInt64:
    case kEvtVarTypeFileTime:
      return v.uint64;
    default:
      return 0;
  }
}

class EventLogApi {
 public:
  EventLogApi()
      : library_(LoadSystemLibrary("wevtapi.dll")),
        query_(LibraryFunction<EvtQueryFn>(library_, "EvtQuery")),
        next_(LibraryFunction<EvtNextFn>(library_, "EvtNext")),
        context_(LibraryFunction<EvtCreateRenderContextFn>(library_, "EvtCreateRenderContext")),
        render_(LibraryFunction<EvtRenderFn>(library_, "EvtRender")),
        close_(LibraryFunction<EvtCloseFn>(library_, "EvtClose")) {}
  ~EventLogApi() {
    if (library_) FreeLibrary(library_);
  }
  EventLogApi(const EventLogApi&) = delete;
  EventLogApi& operator=(const EventLogApi&) = delete;

  bool Present() const { return query_ && next_ && context_ && render_ && close_; }

  std::vector<LoggedEvent> Read(std::size_t maxEntries) {
    std::vector<LoggedEvent> entries;
    Handle results(*this, query_(nullptr, L"System",
                                 L"*[System[Provider[@Name='Microsoft-Windows-Kernel-General'] and (EventID=15)]]",
                                 kEvtQueryChannelPath | kEvtQueryReverseDirection));
    // Nothing else is called without a query: Wine exports the rest of the
    // API as stubs that end the process when called.
    if (!results.get()) return entries;
    Handle context(*this, context_(kValueCount, kValuePaths, kEvtRenderContextValues));
    if (!context.get()) return entries;
    while (entries.size() < maxEntries) {
      EvtHandle batch[16] = {};
      DWORD returned = 0;
      if (!next_(results.get(), 16, batch, kNextTimeoutMs, 0, &returned) || returned == 0) break;
      for (DWORD i = 0; i < returned; ++i) {
        Handle event(*this, batch[i]);
        if (entries.size() < maxEntries) Render(context.get(), event.get(), entries);
      }
    }
    return entries;
  }

 private:
  // Closes an event log handle when it goes.
  class Handle {
   public:
    Handle(EventLogApi& api, EvtHandle handle) : api_(api), handle_(handle) {}
    ~Handle() {
      if (handle_) api_.close_(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    EvtHandle get() const { return handle_; }

   private:
    EventLogApi& api_;
    EvtHandle handle_;
  };

  void Render(EvtHandle context, EvtHandle event, std::vector<LoggedEvent>& entries) {
    std::vector<EvtVariant> values(kValueCount * 8);
    DWORD used = 0, properties = 0;
    DWORD bytes = DWORD(values.size() * sizeof(EvtVariant));
    if (!render_(context, event, kEvtRenderEventValues, bytes, values.data(), &used, &properties)) {
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return;
      values.resize(used / sizeof(EvtVariant) + 1);
      bytes = DWORD(values.size() * sizeof(EvtVariant));
      if (!render_(context, event, kEvtRenderEventValues, bytes, values.data(), &used, &properties)) return;
    }
    if (properties < kValueCount) return;
    LoggedEvent entry;
    entry.provider = Text(values[0]);
    entry.eventId = std::uint32_t(Number(values[1]));
    entry.time = Number(values[2]);
    entry.hiveName = Text(values[3]);
    entry.originalSize = Text(values[4]);
    entry.newSize = Text(values[5]);
    entries.push_back(entry);
  }

  HMODULE library_;
  EvtQueryFn query_;
  EvtNextFn next_;
  EvtCreateRenderContextFn context_;
  EvtRenderFn render_;
  EvtCloseFn close_;
};

}  // namespace

std::vector<LoggedEvent> Win32Platform::HiveReorganizations(std::size_t maxEntries) {
  EventLogApi api;
  if (!api.Present()) return {};
  return api.Read(maxEntries);
}

std::string Win32Platform::SystemRoot() {
  wchar_t buffer[MAX_PATH] = {};
  UINT n = GetSystemWindowsDirectoryW(buffer, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::string() : WideToUtf8(std::wstring(buffer, n));
}

}  // namespace vh
