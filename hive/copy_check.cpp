#include "hive/copy_check.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "hive/hive_copy.h"
#include "hive/left_alone.h"
#include "platform/text.h"

namespace vh {

const char kCheckKeyName[] = "VarnholdCopyCheck";
const char kProbeKeyName[] = "VarnholdKeyCheck";

namespace {

// The root is level 0; keys down to this level are compared one by one.
constexpr int kDeepestLevel = 2;

std::string Joined(const std::string& path, const std::string& name) {
  if (path.empty()) return name;
  return name.empty() ? path : path + "\\" + name;
}

// Key names compare without regard to case; a key may have tens of
// thousands of subkeys (the software hive's Classes), so they are looked up
// in a set, not searched one by one.
std::set<std::string> UpperNames(const std::vector<std::string>& names) {
  std::set<std::string> upper;
  for (const std::string& name : names) upper.insert(UpperAscii(name));
  return upper;
}

// An open key that closes itself.
class OpenedKey {
 public:
  OpenedKey(Registry& registry, KeyHandle key) : registry_(registry), key_(key) {}
  ~OpenedKey() {
    if (key_) registry_.CloseKey(key_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  KeyHandle get() const { return key_; }

 private:
  Registry& registry_;
  KeyHandle key_;
};

bool Loaded(Registry& registry, const char* name) {
  KeyHandle key = registry.OpenKeyEx(RootKey::LocalMachine, name, win::kKeyRead);
  if (key) registry.CloseKey(key);
  return key != 0;
}

void UnloadIfLoaded(Registry& registry, const char* name) {
  if (Loaded(registry, name)) registry.UnLoadKey(RootKey::LocalMachine, name);
}

// Windows keeps a loaded hive's log files beside it (".LOG" up to XP,
// ".LOG1" and ".LOG2" since); once unloaded, the hive file alone is whole
// and the logs would be left in the hive folder for good.
void DeleteHiveLogs(Files& files, const std::string& hiveFile) {
  for (const char* suffix : {".LOG", ".LOG1", ".LOG2"}) DeleteUnlessLinked(files, hiveFile + suffix);
}

// One side's keys down to the deepest compared level, read once: each
// key's counts and time and its subkeys' names, by path in capitals (names
// compare without regard to case).
struct WalkedKey {
  bool opened = false;
  bool read = false;
  KeyFacts facts{};
  std::vector<std::string> names;  // as enumerated, in enumeration order
};

class Walk {
 public:
  using Opener = std::function<KeyHandle(const std::string& path)>;
  Walk(Registry& registry, Opener open) : registry_(registry), open_(std::move(open)) {}

  // Reads the tree from the root; complete() tells that nothing stopped it.
  void Run() {
    Visit("", 0);
    complete_ = true;
  }
  bool complete() const { return complete_; }
  const WalkedKey* Find(const std::string& path) const {
    auto it = keys_.find(UpperAscii(path));
    return it == keys_.end() ? nullptr : &it->second;
  }

 private:
  void Visit(const std::string& path, int level) {
    WalkedKey& key = keys_[UpperAscii(path)];
    OpenedKey opened(registry_, open_(path));
    if (!opened.get()) return;
    key.opened = true;
    std::optional<KeyFacts> facts = registry_.QueryKey(opened.get());
    if (!facts) return;
    key.read = true;
    key.facts = *facts;
    // Most keys have no subkeys: listing none would cost a registry call
    // apiece for nothing.
    if (facts->subkeys > 0) key.names = registry_.CountedSubkeyNames(opened.get(), facts->subkeys);
    if (level >= kDeepestLevel) return;
    // The map's elements stay where they are as others are added.
    for (const std::string& name : key.names) Visit(Joined(path, name), level + 1);
  }

  Registry& registry_;
  Opener open_;
  std::map<std::string, WalkedKey> keys_;
  bool complete_ = false;
};

class Comparison {
 public:
  Comparison(Registry& registry, Files& files, const std::string& hiveName, const std::string& copyFile,
             std::uint64_t copyWritten, bool backup)
      : registry_(registry),
        files_(files),
        probeFile_(copyFile + ".key"),
        readerSid_(HiveReaderSid(hiveName)),
        format_(SaveFormatOf(hiveName)),
        backup_(backup),
        live_(SplitHiveName(hiveName)),
        copyWritten_(copyWritten),
        liveWalk_(registry, [this](const std::string& path) { return OpenLive(path); }),
        copyWalk_(registry, [this](const std::string& path) { return OpenCopy(path); }) {}

  // The first difference found, or nullopt when the copy matches. Both
  // sides are read first, each by its own walk, side by side where the
  // registry allows; the comparison then needs no registry call unless a
  // key is missing from the copy.
  std::optional<Phrase> Compare() {
    registry_.RunTogether([this] { liveWalk_.Run(); }, [this] { copyWalk_.Run(); });
    if (!liveWalk_.complete() || !copyWalk_.complete()) return Phrase{IDS_CHECK_UNREADABLE};
    return CompareKey("", 0);
  }

 private:
  // Either side as the other: the same ACLs are on both, and a key one
  // side could not read would count as a difference.
  KeyHandle Open(RootKey root, const std::string& subkey) {
    return backup_ ? registry_.OpenKeyForBackup(root, subkey, win::kKeyRead)
                   : registry_.OpenKeyEx(root, subkey, win::kKeyRead);
  }
  KeyHandle OpenLive(const std::string& path) { return Open(live_.root, Joined(live_.subkey, path)); }
  KeyHandle OpenCopy(const std::string& path) { return Open(RootKey::LocalMachine, Joined(kCheckKeyName, path)); }
  // The root has a message of its own; any other key is named by its path,
  // the first value.
  static Phrase About(const std::string& path, unsigned rootId, unsigned keyId, std::vector<std::string> values = {}) {
    if (path.empty()) return {rootId, std::move(values)};
    values.insert(values.begin(), path);
    return {keyId, std::move(values)};
  }
  // The live key's kind of a subkey, asked of its parent opened anew: only
  // a key missing from the copy or one whose comparison failed is asked.
  KeyKind LiveKind(const std::string& parent, const std::string& name) {
    OpenedKey key(registry_, OpenLive(parent));
    return key.get() ? registry_.QueryKeyKind(key.get(), name) : KeyKind::Unknown;
  }

  std::optional<Phrase> CompareKey(const std::string& path, int level) {
    const WalkedKey* live = liveWalk_.Find(path);
    const WalkedKey* copy = copyWalk_.Find(path);
    if (!live || !copy || !live->opened || !copy->opened)
      return About(path, IDS_CHECK_ROOT_NOT_OPENED, IDS_CHECK_KEY_NOT_OPENED);
    if (!live->read || !copy->read) return About(path, IDS_CHECK_ROOT_NOT_READ, IDS_CHECK_KEY_NOT_READ);
    const KeyFacts& liveFacts = live->facts;
    const KeyFacts& copyFacts = copy->facts;
    // Written since the copy was taken: its own counts and subkey names may
    // differ rightly, but the subkeys both hold are still compared. The
    // copy's own time of the key catches a change made while the copy was
    // being written; the file's, one made after (a loaded hive's root may
    // carry the time of the load).
    const bool changedSince = liveFacts.lastWrite > copyFacts.lastWrite || liveFacts.lastWrite > copyWritten_;
    if (!changedSince && liveFacts.values != copyFacts.values)
      return About(path, IDS_CHECK_ROOT_VALUES, IDS_CHECK_KEY_VALUES,
                   {std::to_string(liveFacts.values), std::to_string(copyFacts.values)});
    if (liveFacts.subkeys == 0 && copyFacts.subkeys == 0) return std::nullopt;
    std::set<std::string> liveSet = UpperNames(live->names), copySet = UpperNames(copy->names);
    std::vector<std::string> shared;
    for (const std::string& name : live->names) {
      if (copySet.count(UpperAscii(name))) {
        shared.push_back(name);
        continue;
      }
      if (changedSince) continue;
      KeyKind kind = LiveKind(path, name);
      if (kind == KeyKind::Volatile || kind == KeyKind::Link) continue;  // never saved as such
      if (kind == KeyKind::Unknown) kind = KindFromOwnSave(Joined(path, name));
      if (kind == KeyKind::Volatile) continue;
      return Phrase{kind == KeyKind::Unknown ? IDS_CHECK_KEY_MISSING_UNKNOWN : IDS_CHECK_KEY_MISSING,
                    {Joined(path, name)}};
    }
    for (const std::string& name : copy->names)
      if (!changedSince && !liveSet.count(UpperAscii(name)))
        return Phrase{IDS_CHECK_KEY_COPY_ONLY, {Joined(path, name)}};
    if (level >= kDeepestLevel) return std::nullopt;
    for (const std::string& name : shared) {
      std::optional<Phrase> difference = CompareKey(Joined(path, name), level + 1);
      // A link is saved as a link: opened, each side may lead elsewhere.
      if (difference && LiveKind(path, name) != KeyKind::Link) return difference;
    }
    return std::nullopt;
  }

  // Where the system cannot tell a volatile key by its flags, RegSaveKey
  // itself is asked, as it never saves volatile keys: saved on its own, a
  // volatile key holds nothing although the live key has values or
  // subkeys; an ordinary one holds them. A key that cannot be saved and
  // loaded back this way, or that holds nothing live, stays Unknown.
  KeyKind KindFromOwnSave(const std::string& path) {
    OpenedKey live(registry_, OpenLive(path));
    if (!live.get()) return KeyKind::Unknown;
    std::optional<KeyFacts> facts = registry_.QueryKey(live.get());
    if (!facts || (facts->subkeys == 0 && facts->values == 0)) return KeyKind::Unknown;
    if (files_.IsLinked(probeFile_)) return KeyKind::Unknown;
    if (files_.Exists(probeFile_)) files_.Delete(probeFile_);
    KeyKind kind = KeyKind::Unknown;
    if (registry_.SaveKey(live.get(), probeFile_, readerSid_, format_) == win::kErrorSuccess) {
      UnloadIfLoaded(registry_, kProbeKeyName);
      if (registry_.LoadKey(RootKey::LocalMachine, kProbeKeyName, probeFile_) == win::kErrorSuccess) {
        OpenedKey saved(registry_, Open(RootKey::LocalMachine, kProbeKeyName));
        std::optional<KeyFacts> savedFacts = saved.get() ? registry_.QueryKey(saved.get()) : std::nullopt;
        if (savedFacts)
          kind = savedFacts->subkeys == 0 && savedFacts->values == 0 ? KeyKind::Volatile : KeyKind::Ordinary;
      }
      UnloadIfLoaded(registry_, kProbeKeyName);
      DeleteHiveLogs(files_, probeFile_);
    }
    if (files_.Exists(probeFile_)) files_.Delete(probeFile_);
    return kind;
  }

  Registry& registry_;
  Files& files_;
  std::string probeFile_;
  std::string readerSid_;
  HiveFormat format_;
  bool backup_;
  HiveKeyPath live_;
  std::uint64_t copyWritten_;
  Walk liveWalk_;
  Walk copyWalk_;
};

}  // namespace

void ReleaseStaleCheckKey(Registry& registry, Privileges& privileges) {
  if (!Loaded(registry, kCheckKeyName) && !Loaded(registry, kProbeKeyName)) return;
  EnableBackupPrivilege(privileges);
  EnableRestorePrivilege(privileges);
  UnloadIfLoaded(registry, kCheckKeyName);
  UnloadIfLoaded(registry, kProbeKeyName);
}

HiveFileRoot ReadHiveFileRoot(Registry& registry, Files& files, const std::string& file) {
  if (!files.Exists(file)) return {win::kErrorFileNotFound, {}};
  UnloadIfLoaded(registry, kCheckKeyName);
  HiveFileRoot root{registry.LoadKey(RootKey::LocalMachine, kCheckKeyName, file), {}};
  if (root.Loaded()) {
    OpenedKey key(registry, registry.OpenKeyEx(RootKey::LocalMachine, kCheckKeyName, win::kKeyRead));
    if (key.get()) root.keys = registry.SubkeyNames(key.get());
  }
  // Wine leaves an empty hive mounted after a refused load.
  UnloadIfLoaded(registry, kCheckKeyName);
  DeleteHiveLogs(files, file);
  return root;
}

CopyCheck CheckHiveCopy(Registry& registry, Files& files, const std::string& hiveName, const std::string& copyFile,
                        bool backupHeld, const LoadedCopyReader& readPassed) {
  if (SplitHiveName(hiveName).root == RootKey::None) return {false, {IDS_CHECK_NO_ROOT}};
  UnloadIfLoaded(registry, kCheckKeyName);
  std::optional<std::uint64_t> copyWritten = files.EntryWriteTime(copyFile);
  if (!copyWritten) return {false, {IDS_CHECK_NO_COPY}};
  long loaded = registry.LoadKey(RootKey::LocalMachine, kCheckKeyName, copyFile);
  if (loaded != win::kErrorSuccess) {
    // Wine leaves an empty hive mounted after a refused load.
    UnloadIfLoaded(registry, kCheckKeyName);
    DeleteHiveLogs(files, copyFile);
    return {false, {IDS_CHECK_COPY_NOT_A_HIVE, {std::to_string(loaded)}}};
  }
  std::optional<Phrase> difference =
      Comparison(registry, files, hiveName, copyFile, *copyWritten, backupHeld).Compare();
  if (!difference && readPassed) readPassed(RootKey::LocalMachine, kCheckKeyName);
  registry.UnLoadKey(RootKey::LocalMachine, kCheckKeyName);
  DeleteHiveLogs(files, copyFile);
  if (difference) return {false, *difference};
  return {true, {}};
}

}  // namespace vh
