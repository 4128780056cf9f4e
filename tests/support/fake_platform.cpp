#include "tests/support/fake_platform.h"

#include <algorithm>
#include <cstdio>
#if !defined(_WIN32)
#include <iconv.h>
#endif

#include "platform/file_path.h"
#include "platform/ini_text.h"
#include "platform/text.h"

namespace vh {

namespace {

// Whether an upper-cased path is on one of the refusal lists.
bool Listed(const std::vector<std::string>& paths, const std::string& upper) {
  return std::find(paths.begin(), paths.end(), upper) != paths.end();
}

std::string Hex(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", value);
  return buf;
}

}  // namespace

FakePlatform::FakePlatform()
    : platform_{*this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this} {}

std::string FakePlatform::Upper(const std::string& text) { return UpperAscii(text); }

// Under WOW64 the 64-bit system folder is reached through its Sysnative
// alias too ("File System Redirector"): both spellings name one file.
std::string FakePlatform::FileKey(const std::string& path) const {
  return UpperAscii(OnWow64Now() ? SystemFolderSpelling(path) : path);
}

FakeKey& FakePlatform::AddKey(RootKey root, const std::string& subkey) {
  FakeKey& key = keys_[Upper(RootKeyName(root) + "\\" + subkey)];
  if (key.name.empty()) key.name = subkey.substr(subkey.find_last_of('\\') + 1);
  return key;
}

void FakePlatform::AddHiveListValue(const std::string& name, std::uint32_t type, const std::string& text) {
  AddKey(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\hivelist").values.push_back({name, type, text});
}

void FakePlatform::AddLoadedHive(const std::string& hiveName, const std::string& file, std::int64_t size) {
  if (DeviceName("C:", 128).empty()) AddDrive("C:\\", win::kDriveFixed, "\\Device\\HarddiskVolume1");
  AddHiveListValue(hiveName, win::kRegSz, DeviceName("C:", 128) + file.substr(2));
  AddFile(file, size).locked = true;
}

std::string FakePlatform::HiveFileOf(RootKey root, const std::string& subkey) const {
  auto list = keys_.find(Upper(RootKeyName(RootKey::LocalMachine) + "\\SYSTEM\\CurrentControlSet\\Control\\hivelist"));
  if (list == keys_.end()) return "";
  std::string wanted = Upper((root == RootKey::Users ? "\\REGISTRY\\USER\\" : "\\REGISTRY\\MACHINE\\") + subkey);
  for (const FakeValue& v : list->second.values)
    if (Upper(v.name) == wanted) return DrivePathOf(v.text);
  return "";
}

std::string FakePlatform::DrivePathOf(const std::string& devicePath) const {
  for (const FakeDrive& d : drives_) {
    std::string device = Upper(d.device) + "\\";
    if (Upper(devicePath).compare(0, device.size(), device) == 0)
      return d.root.substr(0, 2) + devicePath.substr(device.size() - 1);
  }
  return "";
}

FakeHive FakePlatform::LiveHive(RootKey root, const std::string& subkey) const {
  return SubtreeOf(Upper(RootKeyName(root) + "\\" + subkey), true);
}

void FakePlatform::RenameEntry(const std::string& from, const std::string& to) {
  std::string f = FileKey(from), t = FileKey(to);
  auto file = files_.find(f);
  if (file != files_.end()) {
    files_[t] = file->second;
    files_.erase(f);
  }
  auto hive = savedHives_.find(f);
  if (hive != savedHives_.end()) {
    savedHives_[t] = hive->second;
    savedHives_.erase(f);
  } else {
    savedHives_.erase(t);
  }
  auto text = texts_.find(f);
  if (text != texts_.end()) {
    texts_[t] = text->second;
    texts_.erase(f);
  }
}

void FakePlatform::EraseSubtree(const std::string& id) {
  for (auto it = keys_.begin(); it != keys_.end();) {
    bool inside = it->first == id || it->first.compare(0, id.size() + 1, id + "\\") == 0;
    it = inside ? keys_.erase(it) : std::next(it);
  }
}

void FakePlatform::Restart() {
  cutAfter_.reset();
  for (auto& [path, file] : files_) {
    if (powerCut_ && file.unflushed > 0) {
      std::string& text = texts_[path];
      text.resize(text.size() - std::min(file.unflushed, text.size()));
      file.size = std::int64_t(text.size());
    }
    file.unflushed = 0;
  }
  powerCut_ = false;
  // The kernel lists the hives anew at every start.
  const std::string listId = Upper("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\hivelist");
  std::optional<FakeKey> list;
  if (keys_.count(listId)) list = keys_[listId];
  for (const std::string& mount : loaded_) EraseSubtree(mount);
  loaded_.clear();
  open_.clear();
  for (const auto& [id, swap] : pending_) {
    // What the system wrote until now went into the renamed live file.
    savedHives_[FileKey(swap.backupFile)] = SubtreeOf(id, true);
    EraseSubtree(id);
    auto loaded = savedHives_.find(FileKey(swap.hiveFile));
    if (loaded != savedHives_.end())
      for (const auto& [path, key] : loaded->second) keys_[path.empty() ? id : id + "\\" + path] = key;
  }
  pending_.clear();
  // Volatile keys live in memory only.
  std::vector<std::string> volatileKeys;
  for (const auto& [id, key] : keys_)
    if (key.isVolatile) volatileKeys.push_back(id);
  for (const std::string& id : volatileKeys) EraseSubtree(id);
  for (auto& [path, file] : files_) file.locked = false;
  if (list) {
    keys_[listId] = *list;
    // Each hive's file is held again by the system that loaded it.
    for (const FakeValue& v : list->values)
      if (auto it = files_.find(FileKey(DrivePathOf(v.text))); it != files_.end()) it->second.locked = true;
  }
  ++fileClock;
  restartRequests = 0;
  enabledPrivileges_.clear();  // a new process on a new start
}

void FakePlatform::AddDrive(const std::string& root, std::uint32_t type, const std::string& device) {
  drives_.push_back({root, type, device});
}

FakeFile& FakePlatform::AddFile(const std::string& path, std::int64_t size) {
  FakeFile& file = files_[FileKey(path)];
  file.size = size;
  file.written = fileClock;
  if (file.id == 0) file.id = nextFileId_++;
  return file;
}

void FakePlatform::RemoveFile(const std::string& path) {
  files_.erase(FileKey(path));
  savedHives_.erase(FileKey(path));
  texts_.erase(FileKey(path));
}

bool FakePlatform::HasFile(const std::string& path) const { return FindFile(path) != nullptr; }

const FakeFile* FakePlatform::FindFile(const std::string& path) const {
  auto it = files_.find(FileKey(path));
  return it == files_.end() ? nullptr : &it->second;
}

void FakePlatform::SetProfileText(const std::string& file, const std::string& text) {
  profiles_[Upper(file)] = text;
}

std::string FakePlatform::ProfileText(const std::string& file) const {
  auto it = profiles_.find(Upper(file));
  return it == profiles_.end() ? "" : it->second;
}

bool FakePlatform::Log(const std::string& call) {
  ++callCount_;
  // Cut before the next call is made: everything of the call before it
  // happened, nothing of this one.
  if (cutAfter_ && callCount_ == *cutAfter_ + 1) {
    powerCut_ = true;
    throw PowerCut{};
  }
  calls.push_back(call);
  if (onCall) onCall(call);
  const bool due = cutAfter_ && callCount_ == *cutAfter_;
  powerCut_ = powerCut_ || due;
  return due;
}

std::vector<std::string> FakePlatform::CallsNamed(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& c : calls)
    if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
  return out;
}

FakeKey* FakePlatform::KeyFor(KeyHandle key) {
  auto it = open_.find(key);
  if (it == open_.end()) return nullptr;
  auto k = keys_.find(it->second);
  return k == keys_.end() ? nullptr : &k->second;
}

// A 32-bit program on 64-bit Windows sees the 32-bit view unless it asks
// for the other: SOFTWARE opens as its Wow6432Node branch, and a key listed
// in that view hides its Wow6432Node ("Registry Keys Affected by WOW64").
KeyHandle FakePlatform::OpenInView(RootKey root, const std::string& subkey, std::uint32_t access) {
  Log("RegOpenKeyExA(" + RootKeyName(root) + ", " + subkey + ", 0, " + Hex(access) + ")");
  return OpenExisting(ViewedId(root, subkey, access), access, false);
}

// REG_OPTION_BACKUP_RESTORE: the backup privilege, once enabled, reads past
// the key's ACL (RegCreateKeyEx's documentation of the option).
KeyHandle FakePlatform::OpenForBackupInView(RootKey root, const std::string& subkey, std::uint32_t access) {
  Log("RegOpenKeyExA(" + RootKeyName(root) + ", " + subkey + ", REG_OPTION_BACKUP_RESTORE, " + Hex(access) + ")");
  return OpenExisting(ViewedId(root, subkey, access), access, true);
}

KeyHandle FakePlatform::OpenExisting(const std::string& id, std::uint32_t access, bool backup) {
  auto it = keys_.find(id);
  if (it == keys_.end()) return 0;
  if (it->second.deniesAdministrators && !(backup && enabledPrivileges_.count("SeBackupPrivilege"))) return 0;
  return OpenHandle(id, access);
}

std::string FakePlatform::ViewedId(RootKey root, const std::string& subkey, std::uint32_t access) {
  return InView(Upper(RootKeyName(root) + "\\" + subkey), access);
}

std::string FakePlatform::InView(const std::string& id, std::uint32_t access) {
  const std::string software = "HKEY_LOCAL_MACHINE\\SOFTWARE", branch = software + "\\WOW6432NODE";
  if (Narrow(access) && keys_.count(branch) && (id == software || id.rfind(software + "\\", 0) == 0) &&
      id.rfind(branch, 0) != 0)
    return branch + id.substr(software.size());
  return id;
}

KeyHandle FakePlatform::OpenHandle(const std::string& id, std::uint32_t access) {
  if (Narrow(access)) narrowView_.insert(nextHandle_);
  open_[nextHandle_] = id;
  return nextHandle_++;
}

std::vector<std::string> FakePlatform::ValueNames(KeyHandle key) {
  std::vector<std::string> names;
  if (FakeKey* k = KeyFor(key))
    for (const FakeValue& v : k->values) names.push_back(v.name);
  return names;
}

std::uint32_t FakePlatform::ValueType(KeyHandle key, const std::string& name) {
  if (FakeKey* k = KeyFor(key))
    for (const FakeValue& v : k->values)
      if (EqualsIgnoreCase(v.name, name)) return v.type;
  return 0;
}

std::optional<std::uint32_t> FakePlatform::ReadDword(KeyHandle key, const std::string& name) {
  if (FakeKey* k = KeyFor(key))
    for (const FakeValue& v : k->values)
      if (EqualsIgnoreCase(v.name, name) && v.type == win::kRegDword)
        return v.text.empty() ? 0u : std::uint32_t(std::stoul(v.text));
  return std::nullopt;
}

std::string FakePlatform::ReadString(KeyHandle key, const std::string& name) {
  if (FakeKey* k = KeyFor(key))
    for (const FakeValue& v : k->values)
      if (EqualsIgnoreCase(v.name, name)) return v.text;
  return "";
}

std::optional<std::string> FakePlatform::ReadValueData(KeyHandle key, const std::string& name) {
  Log("RegQueryValueExW(" + (open_.count(key) ? open_[key] : std::string("?")) + ", " + name + ")");
  if (FakeKey* k = KeyFor(key))
    for (const FakeValue& v : k->values)
      if (EqualsIgnoreCase(v.name, name)) return v.text;
  return std::nullopt;
}

long FakePlatform::SaveKey(KeyHandle key, const std::string& file, const std::string& readerSid, HiveFormat format) {
  bool cut = Log("RegSaveKeyA(" + file + ")");
  FakeKey* k = KeyFor(key);
  if (!k) return 6;  // ERROR_INVALID_HANDLE
  if (HasFile(file)) return win::kErrorAlreadyExists;
  if (cut) {
    AddFile(file, k->savedSize / 2).cutShort = true;
    throw PowerCut{};
  }
  if (k->saveError != win::kErrorSuccess) {
    if (k->partialBytes > 0) AddFile(file, k->partialBytes);
    return k->saveError;
  }
  FakeFile& saved = AddFile(file, k->savedSize);
  saved.restricted = true;
  saved.reader = readerSid;
  saved.format = format;
  savedHives_[FileKey(file)] = SubtreeOf(open_[key], true);
  return win::kErrorSuccess;
}

std::vector<std::string> FakePlatform::ChildIds(const std::string& id) const {
  std::vector<std::string> children;
  std::string prefix = id + "\\";
  for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it)
    if (it->first.find('\\', prefix.size()) == std::string::npos) children.push_back(it->first);
  return children;
}

FakeHive FakePlatform::SubtreeOf(const std::string& id, bool saving) const {
  FakeHive hive;
  auto root = keys_.find(id);
  if (root == keys_.end()) return hive;
  if (saving && root->second.isVolatile) {
    hive[""] = FakeKey{};  // never saved: an empty hive
    return hive;
  }
  hive[""] = root->second;
  // Depth first, so that a volatile key's subkeys are left out with it.
  std::vector<std::string> pending = ChildIds(id);
  while (!pending.empty()) {
    std::string child = pending.back();
    pending.pop_back();
    const FakeKey& k = keys_.at(child);
    if (saving && k.isVolatile) continue;
    hive[child.substr(id.size() + 1)] = k;
    if (saving && k.isLink) continue;
    for (const std::string& grandchild : ChildIds(child)) pending.push_back(grandchild);
  }
  return hive;
}

FakeHive* FakePlatform::SavedHive(const std::string& file) {
  auto it = savedHives_.find(FileKey(file));
  return it == savedHives_.end() ? nullptr : &it->second;
}

void FakePlatform::MakeHiveFile(const std::string& file, const std::vector<std::string>& rootKeys) {
  FakeKey root;
  root.values = {{"hive"}};
  FakeHive& hive = savedHives_[FileKey(file)] = {{"", root}};
  for (const std::string& key : rootKeys) hive[Upper(key)] = FakeKey{};
}

void FakePlatform::OverwriteInPlace(const std::string& from, const std::string& to) {
  const std::string f = FileKey(from), t = FileKey(to);
  FakeFile& target = AddFile(to, files_.at(f).size);
  target.cutShort = files_.at(f).cutShort;
  if (savedHives_.count(f)) {
    savedHives_[t] = savedHives_.at(f);
  } else {
    savedHives_.erase(t);
  }
  if (texts_.count(f)) texts_[t] = texts_.at(f);
}

long FakePlatform::LoadKey(RootKey root, const std::string& name, const std::string& file) {
  Log("RegLoadKeyA(" + RootKeyName(root) + ", " + name + ", " + file + ")");
  // "If this file does not exist, a file is created with the specified
  // name" (RegLoadKey): an empty hive, which loads.
  if (!HasFile(file)) {
    AddFile(file, 8192);
    savedHives_[Upper(file)] = {{"", FakeKey{}}};
  }
  std::string mount = Upper(RootKeyName(root) + "\\" + name);
  if (keys_.count(mount)) return 183;  // ERROR_ALREADY_EXISTS
  const FakeHive* hive = SavedHive(file);
  if (!hive || hive->empty()) return win::kErrorBadHiveFile;
  for (const auto& [path, key] : *hive) keys_[path.empty() ? mount : mount + "\\" + path] = key;
  loaded_.push_back(mount);
  return win::kErrorSuccess;
}

long FakePlatform::UnLoadKey(RootKey root, const std::string& name) {
  Log("RegUnLoadKeyA(" + RootKeyName(root) + ", " + name + ")");
  std::string mount = Upper(RootKeyName(root) + "\\" + name);
  auto at = std::find(loaded_.begin(), loaded_.end(), mount);
  if (at == loaded_.end()) return 87;  // ERROR_INVALID_PARAMETER: not a loaded hive
  loaded_.erase(at);
  EraseSubtree(mount);
  return win::kErrorSuccess;
}

std::optional<KeyFacts> FakePlatform::QueryKey(KeyHandle key) {
  FakeKey* k = KeyFor(key);
  if (!k) return std::nullopt;
  return KeyFacts{std::uint32_t(SubkeyNames(key).size()), std::uint32_t(k->values.size()), k->lastWrite};
}

std::vector<std::string> FakePlatform::SubkeyNames(KeyHandle key) {
  std::vector<std::string> names;
  if (!KeyFor(key)) return names;
  const std::string& id = open_[key];
  for (const std::string& child : ChildIds(id)) {
    const std::string& kept = keys_.at(child).name;
    std::string name = kept.empty() ? child.substr(id.size() + 1) : kept;
    if (!(narrowView_.count(key) && Upper(name) == "WOW6432NODE")) names.push_back(name);
  }
  return names;
}

KeyKind FakePlatform::KindInView(KeyHandle parent, const std::string& name, std::uint32_t view) {
  Log("RegOpenKeyExA(" + open_[parent] + "\\" + name + ", REG_OPTION_OPEN_LINK, " +
      Hex(win::kKeyQueryValue | view) + ")");
  if (!KeyFor(parent)) return KeyKind::Unknown;
  // Windows does not carry the parent handle's view over to the key opened
  // below it: without the view asked for again, SOFTWARE's keys are its
  // 32-bit branch's.
  auto it = keys_.find(InView(Upper(open_[parent] + "\\" + name), view));
  if (it == keys_.end() || it->second.deniesAdministrators) return KeyKind::Unknown;
  if (it->second.isLink) return KeyKind::Link;  // documented everywhere
  if (!tellsKeyKinds) return KeyKind::Unknown;
  return it->second.isVolatile ? KeyKind::Volatile : KeyKind::Ordinary;
}

long FakePlatform::ReplaceInView(RootKey root, const std::string& subkey, const std::string& newFile,
                                 const std::string& backupFile, std::uint32_t view) {
  Log("RegReplaceKeyA(" + RootKeyName(root) + ", " + subkey + ", " + newFile + ", " + backupFile + ")");
  // Windows opens the named key first, in the view asked for: SOFTWARE's
  // 32-bit branch is no hive's root, and cannot be replaced.
  if (OnWow64() && !(view & win::kKeyWow64_64Key) && EqualsIgnoreCase(subkey, "SOFTWARE") &&
      keys_.count("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432NODE"))
    return 87;  // ERROR_INVALID_PARAMETER
  std::string hiveFile = root == RootKey::None || subkey.empty() ? "" : HiveFileOf(root, subkey);
  if (hiveFile.empty() || !HasFile(newFile)) return win::kErrorFileNotFound;
  std::string id = Upper(RootKeyName(root) + "\\" + subkey);
  if (Listed(refusedSwaps, Upper(subkey)) || pending_.count(id)) return win::kErrorAccessDenied;
  if (HasFile(backupFile)) return win::kErrorAlreadyExists;
  // The live file goes to the backup name and stays the hive's file until
  // the restart; the new one takes the hive's name, held open till then.
  RenameEntry(hiveFile, backupFile);
  RenameEntry(newFile, hiveFile);
  FakeFile& backup = files_[FileKey(backupFile)];
  backup.locked = true;
  backup.written = fileClock;
  files_[FileKey(hiveFile)].locked = true;
  pending_[id] = {hiveFile, backupFile};
  return win::kErrorSuccess;
}

// REG_OPTION_VOLATILE "is ignored for keys that already exist" (RegCreateKeyEx's
// documentation): an existing key is opened as it is, with
// REG_OPENED_EXISTING_KEY as the disposition.
KeyHandle FakePlatform::CreateVolatileInView(RootKey root, const std::string& subkey, std::uint32_t access,
                                             bool& existed) {
  Log("RegCreateKeyExW(" + RootKeyName(root) + ", " + subkey + ", REG_OPTION_VOLATILE, " + Hex(access) + ")");
  if (Listed(refusedKeys, Upper(subkey))) return 0;
  std::string id = ViewedId(root, subkey, access);
  existed = keys_.count(id) != 0;
  if (!existed) {
    FakeKey& key = keys_[id];
    key.isVolatile = true;
    key.name = subkey.substr(subkey.find_last_of('\\') + 1);
  }
  return OpenHandle(id, access);
}

long FakePlatform::DeleteInView(RootKey root, const std::string& subkey, std::uint32_t view) {
  Log("RegDeleteKeyExW(" + RootKeyName(root) + ", " + subkey + ", " + Hex(view) + ")");
  std::string id = ViewedId(root, subkey, view);
  if (!keys_.count(id)) return win::kErrorFileNotFound;
  if (!ChildIds(id).empty()) return win::kErrorAccessDenied;  // RegDeleteKey leaves a key with subkeys
  keys_.erase(id);
  return win::kErrorSuccess;
}

long FakePlatform::WriteString(KeyHandle key, const std::string& name, const std::string& text) {
  Log("RegSetValueExW(" + (open_.count(key) ? open_[key] : std::string("?")) + ", " + name + ")");
  FakeKey* k = KeyFor(key);
  if (!k) return 6;  // ERROR_INVALID_HANDLE
  for (FakeValue& v : k->values) {
    if (EqualsIgnoreCase(v.name, name)) {
      v = {name, win::kRegSz, text};
      return win::kErrorSuccess;
    }
  }
  k->values.push_back({name, win::kRegSz, text});
  return win::kErrorSuccess;
}

void FakePlatform::CloseKey(KeyHandle key) {
  // Not a point to cut the power at: closing changes nothing, and it runs
  // in destructors, where a throw would end the process.
  calls.push_back("RegCloseKey");
  open_.erase(key);
  narrowView_.erase(key);
}

bool FakePlatform::Enable(const std::string& privilege, std::uint32_t tokenAccess) {
  Log("EnablePrivilege(" + privilege + ", " + Hex(tokenAccess) + ")");
  // AdjustTokenPrivileges reports ERROR_NOT_ALL_ASSIGNED for a privilege
  // the token lacks.
  if (std::find(privilegesNotHeld.begin(), privilegesNotHeld.end(), privilege) != privilegesNotHeld.end()) return false;
  enabledPrivileges_.insert(privilege);
  return true;
}

std::string FakePlatform::LogicalDriveStrings(std::size_t bufferChars) {
  std::string out;
  for (const FakeDrive& d : drives_) {
    if (out.size() + d.root.size() + 1 >= bufferChars) break;
    out += d.root;
    out.push_back('\0');
  }
  return out;
}

std::uint32_t FakePlatform::DriveType(const std::string& root) {
  for (const FakeDrive& d : drives_)
    if (EqualsIgnoreCase(d.root, root)) return d.type;
  return 1;  // DRIVE_NO_ROOT_DIR
}

std::string FakePlatform::DeviceName(const std::string& drive, std::size_t bufferChars) {
  for (const FakeDrive& d : drives_)
    if (EqualsIgnoreCase(d.root.substr(0, 2), drive)) return d.device.substr(0, bufferChars - 1);
  return "";
}

bool FakePlatform::Exists(const std::string& path) {
  const FakeFile* f = FindFile(path);
  return f && !f->directory;
}

std::optional<std::int64_t> FakePlatform::EntrySize(const std::string& path) {
  const FakeFile* f = FindFile(path);
  if (!f || f->unreadable) return std::nullopt;
  return f->size;
}

bool FakePlatform::CanOpenExclusive(const std::string& path) {
  Log("CreateFileA(" + path + ", GENERIC_READ|GENERIC_WRITE, 0, OPEN_EXISTING)");
  const FakeFile* f = FindFile(path);
  return f && !f->locked && !f->directory;
}

bool FakePlatform::Delete(const std::string& path) {
  Log("DeleteFileA(" + path + ")");
  const FakeFile* f = FindFile(path);
  if (!f || f->locked || f->directory) return false;
  files_.erase(FileKey(path));
  savedHives_.erase(FileKey(path));
  texts_.erase(FileKey(path));
  return true;
}

bool FakePlatform::Move(const std::string& from, const std::string& to) {
  Log("MoveFileA(" + from + ", " + to + ")");
  const FakeFile* f = FindFile(from);
  if (!f || f->locked || FindFile(to)) return false;
  RenameEntry(from, to);
  return true;
}

std::optional<std::uint64_t> FakePlatform::EntryWriteTime(const std::string& path) {
  const FakeFile* f = FindFile(path);
  if (!f || f->unreadable) return std::nullopt;
  return f->written;
}

bool FakePlatform::IsLinked(const std::string& path) {
  std::string upper = FileKey(path);
  for (const std::string& link : links_)
    if (upper == link || upper.compare(0, link.size() + 1, link + "\\") == 0) return true;
  return false;
}

bool FakePlatform::AppendText(const std::string& path, const std::string& text) {
  bool cut = Log("AppendText(" + path + ")");
  std::string key = FileKey(path);
  if (Listed(refusedAppends_, key)) return false;
  if (cut) {
    texts_[key] += text.substr(0, text.size() / 2);
    AddFile(path, std::int64_t(texts_[key].size())).cutShort = true;
    throw PowerCut{};
  }
  texts_[key] += text;
  AddFile(path, std::int64_t(texts_[key].size())).unflushed += text.size();
  return true;
}

bool FakePlatform::Flush(const std::string& path) {
  Log("FlushFileBuffers(" + path + ")");
  auto it = files_.find(FileKey(path));
  if (it == files_.end() || Listed(refusedAppends_, FileKey(path))) return false;
  it->second.unflushed = 0;
  return true;
}

std::optional<std::string> FakePlatform::Identity(const std::string& path) {
  const FakeFile* f = FindFile(path);
  if (!f || f->unreadable) return std::nullopt;
  return "0000ABCD-" + std::to_string(f->id);
}

std::vector<std::string> FakePlatform::FileNamesIn(const std::string& folder) {
  std::string prefix = Upper(folder);
  if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
  std::vector<std::string> names;
  for (const auto& [path, file] : files_)
    if (!file.directory && path.compare(0, prefix.size(), prefix) == 0 &&
        path.find('\\', prefix.size()) == std::string::npos)
      names.push_back(path.substr(prefix.size()));
  return names;
}

std::optional<std::string> FakePlatform::ReadTail(const std::string& path, std::size_t maxBytes) {
  std::string key = FileKey(path);
  if (Listed(refusedReads_, key) || !FindFile(path)) return std::nullopt;
  const std::string& text = texts_[key];
  return text.size() > maxBytes ? text.substr(text.size() - maxBytes) : text;
}

std::string FakePlatform::FileText(const std::string& path) const {
  auto it = texts_.find(FileKey(path));
  return it == texts_.end() ? "" : it->second;
}

void FakePlatform::SetFileText(const std::string& path, const std::string& text) {
  texts_[FileKey(path)] = text;
  AddFile(path, std::int64_t(text.size()));
}

bool FakePlatform::ExitSystem(std::uint32_t flags, std::uint32_t reason) {
  Log("ExitWindowsEx(" + std::to_string(flags) + ", " + std::to_string(reason) + ")");
  restartRequests += acceptsExitSystem;
  return acceptsExitSystem;
}

bool FakePlatform::MutexExists(const std::string& name) {
  Log("OpenMutexW(" + name + ")");
  for (const std::string& m : mutexes)
    if (m == name) return true;
  return false;
}

std::uint32_t FakePlatform::ServiceState(const std::string& name) {
  Log("QueryServiceStatus(" + name + ")");
  for (const auto& [service, state] : serviceStates)
    if (EqualsIgnoreCase(service, name)) return state;
  for (const std::string& s : runningServices)
    if (EqualsIgnoreCase(s, name)) return win::kServiceRunning;
  return 1;  // SERVICE_STOPPED
}

long FakePlatform::InitiateRestart(std::uint32_t reason, bool forceAppsClosed) {
  Log("InitiateSystemShutdownExA(" + std::string(forceAppsClosed ? "force, " : "") + std::to_string(reason) + ")");
  if (notReadyRestarts > 0) {
    --notReadyRestarts;
    return win::kErrorNotReady;
  }
  restartRequests += initiateRestartError == win::kErrorSuccess;
  return initiateRestartError;
}

void FakePlatform::Wait(std::uint32_t ms) { Log("Sleep(" + std::to_string(ms) + ")"); }

RestorePointResult FakePlatform::SetRestorePoint(const RestorePointRequest& request) {
  Log("SRSetRestorePointA(" + std::to_string(request.eventType) + ", " + std::to_string(request.restorePointType) +
      ", " + std::to_string(request.sequenceNumber) + ", " + request.description + ")");
  if (restoreOutcome != RestoreOutcome::Created) return {restoreOutcome, 0};
  if (request.eventType != 100) {
    if (request.restorePointType == 13)  // CANCELLED_OPERATION removes the point
      restorePoints.erase(std::remove_if(restorePoints.begin(), restorePoints.end(),
                                         [&](const ListedRestorePoint& p) {
                                           return p.sequenceNumber == request.sequenceNumber;
                                         }),
                          restorePoints.end());
    return {restoreOutcome, request.sequenceNumber};
  }
  constexpr std::uint64_t kDay = 24ull * 3600 * 10000000;
  const bool windows8 = version.major > 6 || (version.major == 6 && version.minor >= 2);
  if (windows8 && !restorePoints.empty() && restorePoints.back().created + kDay > fileClock)
    return {restoreOutcome, restorePoints.back().sequenceNumber};
  restorePoints.push_back({nextRestoreSequence, fileClock});
  return {restoreOutcome, nextRestoreSequence++};
}

std::optional<std::vector<ListedRestorePoint>> FakePlatform::ListRestorePoints() {
  Log("IWbemServices::ExecQuery(root\\default, SELECT * FROM SystemRestore)");
  if (!listsRestorePoints) return std::nullopt;
  return restorePoints;
}

bool FakePlatform::ProfileWriteRefused(const std::string& file) const {
  return Listed(refusedProfiles_, Upper(file));
}

std::string FakePlatform::Read(const std::string& section, const std::string& key, const std::string& defaultValue,
                               std::size_t bufferSize, const std::string& file) {
  Log("GetPrivateProfileStringA(" + section + ", " + key + ", " + file + ")");
  auto it = profiles_.find(Upper(file));
  std::optional<std::string> value;
  if (it != profiles_.end()) value = IniLookup(it->second, section, key);
  std::string result = value.value_or(defaultValue);
  if (bufferSize == 0) return "";
  return result.substr(0, bufferSize - 1);
}

bool FakePlatform::Write(const std::string& section, const std::string& key, const std::string& value,
                         const std::string& file) {
  Log("WritePrivateProfileStringA(" + section + ", " + key + ", " + value + ", " + file + ")");
  if (ProfileWriteRefused(file)) return false;
  profiles_[Upper(file)] = IniSet(ProfileText(file), section, key, value);
  return true;
}

bool FakePlatform::EraseSection(const std::string& section, const std::string& file) {
  Log("WritePrivateProfileStringA(" + section + ", NULL, NULL, " + file + ")");
  if (ProfileWriteRefused(file)) return false;
  auto it = profiles_.find(Upper(file));
  if (it != profiles_.end()) it->second = IniEraseSection(it->second, section);
  return true;
}

bool FakePlatform::HasSection(const std::string& section, const std::string& file) {
  Log("GetPrivateProfileSectionNamesA(" + file + ")");
  auto it = profiles_.find(Upper(file));
  return it != profiles_.end() && IniHasSection(it->second, section);
}

void FakePlatform::Open(const std::string& target) { Log("ShellExecuteA(Open, " + target + ", SW_SHOW)"); }

bool FakePlatform::Report(EventType type, std::uint32_t eventId, const std::vector<std::string>& strings) {
  calls.push_back("ReportEventW(" + std::to_string(int(type)) + ", " + std::to_string(eventId) + ")");
  if (eventLogRefuses) return false;
  events.push_back({type, eventId, strings});
  return true;
}

std::vector<LoggedEvent> FakePlatform::HiveReorganizations(std::size_t maxEntries) {
  calls.push_back("EvtQuery(System, Kernel-General 15)");
  std::vector<LoggedEvent> entries = systemLogEntries;
  if (entries.size() > maxEntries) entries.resize(maxEntries);
  return entries;
}

}  // namespace vh

namespace vh {

namespace {

void AppendUtf8(std::string& out, unsigned c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// Windows-1252's 0x80 to 0x9F; the five bytes it leaves undefined map to
// the same C1 controls, as MultiByteToWideChar maps them.
const unsigned kWindows1252High[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                       0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

}  // namespace

std::optional<std::string> FakePlatform::ReadBytes(const std::string& file, std::size_t maxBytes) {
  Log("ReadFile(" + file + ")");
  auto it = profiles_.find(Upper(file));
  if (it == profiles_.end()) return std::nullopt;
  return it->second.substr(0, maxBytes);
}

std::optional<std::string> FakePlatform::DecodeText(const std::string& bytes, unsigned codePage) {
  if (codePage == 0 || codePage == 1252) {
    std::string out;
    for (unsigned char b : bytes) AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : b);
    return out;
  }
#if !defined(_WIN32)
  const std::string name = "CP" + std::to_string(codePage);
  iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd == iconv_t(-1)) return std::nullopt;
  std::string in = bytes, out(bytes.size() * 4 + 4, '\0');
  char* from = &in[0];
  char* to = &out[0];
  std::size_t left = in.size(), room = out.size();
  const bool whole = iconv(cd, &from, &left, &to, &room) != std::size_t(-1);
  iconv_close(cd);
  if (!whole) return std::nullopt;
  out.resize(out.size() - room);
  return out;
#else
  return std::nullopt;
#endif
}

}  // namespace vh
