// Fills a registry key with a tree shaped like a used system's, for the
// large benchmark registry: deep branches, many small values of every common
// type, and now and then a large binary one. The same arguments make the
// same tree on every run.
//   bench_registry_win_tool HKLM|HKU <subkey> <keys> <values> <seed>
// Prints "keys values bytes" made; exit code 0, else the Win32 error code.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A small generator of our own: its sequence cannot change with the C library.
class Sequence {
 public:
  explicit Sequence(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::uint32_t Below(std::uint32_t n) { return n ? Next() % n : 0; }

 private:
  std::uint32_t state_;
};

const char* const kWords[] = {"Microsoft", "Windows", "CurrentVersion", "Explorer", "Classes", "Shell", "Open",
                              "Command", "Parameters", "Enum", "Services", "Control", "Policies", "Settings",
                              "Interface", "TypeLib", "CLSID", "Components", "Installer", "Products", "Features",
                              "Device", "Driver", "Software", "Cache", "Recent", "Streams", "Profile"};

std::string Word(Sequence& seq) { return kWords[seq.Below(sizeof kWords / sizeof kWords[0])]; }

std::string KeyName(Sequence& seq, std::uint32_t index) {
  // Most keys in a real hive are GUIDs or words with a number.
  if (seq.Below(3) == 0) {
    char guid[40];
    std::snprintf(guid, sizeof guid, "{%08X-%04X-%04X-%04X-%08X%04X}", seq.Next(), seq.Below(0x10000),
                  seq.Below(0x10000), seq.Below(0x10000), seq.Next(), index & 0xFFFF);
    return guid;
  }
  return Word(seq) + std::to_string(index);
}

struct Made {
  std::uint64_t keys = 0;
  std::uint64_t values = 0;
  std::uint64_t bytes = 0;
};

LONG SetValue(HKEY key, Sequence& seq, std::uint32_t index, Made& made) {
  std::string name = seq.Below(8) == 0 ? std::string() : Word(seq) + std::to_string(index);
  std::vector<BYTE> data;
  DWORD type = REG_SZ;
  std::uint32_t kind = seq.Below(100);
  if (seq.Below(4000) == 0) {
    // A large binary value: a cached blob, a certificate, a saved state.
    type = REG_BINARY;
    data.resize(4096 + seq.Below(28 * 1024));
    for (BYTE& b : data) b = BYTE(seq.Next() >> 24);
  } else if (kind < 45) {
    std::string text = "C:\\Program Files\\" + Word(seq) + "\\" + Word(seq) + std::to_string(seq.Below(1000));
    if (seq.Below(2)) text += ".dll";
    data.assign(text.begin(), text.end() + 1);
  } else if (kind < 75) {
    type = REG_DWORD;
    std::uint32_t v = seq.Below(4) ? seq.Below(16) : seq.Next();
    data.resize(4);
    std::memcpy(data.data(), &v, 4);
  } else if (kind < 90) {
    type = REG_BINARY;
    data.resize(4 + seq.Below(60));
    for (BYTE& b : data) b = BYTE(seq.Next() >> 24);
  } else if (kind < 95) {
    type = REG_MULTI_SZ;
    std::string text;
    for (std::uint32_t n = 1 + seq.Below(4); n; --n) text += Word(seq) + '\0';
    text += '\0';
    data.assign(text.begin(), text.end());
  } else {
    type = REG_EXPAND_SZ;
    std::string text = "%SystemRoot%\\system32\\" + Word(seq) + ".exe";
    data.assign(text.begin(), text.end() + 1);
  }
  LONG rc = RegSetValueExA(key, name.c_str(), 0, type, data.data(), DWORD(data.size()));
  if (rc == ERROR_SUCCESS) {
    ++made.values;
    made.bytes += data.size();
  }
  return rc;
}

// Builds the tree depth first: each new key goes below one of the keys on
// the open path, so that branches run up to kDeepest levels deep.
LONG Fill(HKEY top, std::uint32_t keys, std::uint32_t values, Sequence& seq, Made& made) {
  constexpr std::size_t kDeepest = 12;
  std::vector<HKEY> path{top};
  std::uint32_t valuesLeft = values;
  for (std::uint32_t i = 0; i < keys; ++i) {
    // Stay, go down or climb back: deeper paths become likelier to climb.
    std::size_t depth = path.size();
    std::size_t parent = depth >= kDeepest || seq.Below(unsigned(depth) + 2) > 1 ? seq.Below(unsigned(depth)) : depth - 1;
    while (path.size() > parent + 1) {
      RegCloseKey(path.back());
      path.pop_back();
    }
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(path.back(), KeyName(seq, i).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    ++made.keys;
    // Values spread unevenly: many keys hold none, a few hold dozens.
    std::uint32_t keysLeft = keys - i;
    std::uint32_t mean = valuesLeft / keysLeft;
    std::uint32_t count = keysLeft == 1 ? valuesLeft : std::min(valuesLeft, seq.Below(2 * mean + 1));
    for (std::uint32_t v = 0; v < count; ++v) {
      rc = SetValue(key, seq, v, made);
      if (rc != ERROR_SUCCESS) return rc;
    }
    valuesLeft -= count;
    path.push_back(key);
  }
  for (std::size_t k = path.size(); k-- > 1;) RegCloseKey(path[k]);
  return ERROR_SUCCESS;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc != 6) return ERROR_BAD_ARGUMENTS;
  HKEY root = std::strcmp(__argv[1], "HKU") == 0 ? HKEY_USERS : HKEY_LOCAL_MACHINE;
  HKEY top = nullptr;
  LONG rc = RegCreateKeyExA(root, __argv[2], 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &top,
                            nullptr);
  if (rc != ERROR_SUCCESS) return int(rc);
  Sequence seq(std::uint32_t(std::strtoul(__argv[5], nullptr, 10)));
  Made made;
  rc = Fill(top, std::uint32_t(std::strtoul(__argv[3], nullptr, 10)),
            std::uint32_t(std::strtoul(__argv[4], nullptr, 10)), seq, made);
  RegCloseKey(top);
  std::printf("%llu %llu %llu\n", static_cast<unsigned long long>(made.keys),
              static_cast<unsigned long long>(made.values), static_cast<unsigned long long>(made.bytes));
  return int(rc);
}
