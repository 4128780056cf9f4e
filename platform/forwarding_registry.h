// A registry that hands every call to another one: the base of decorators
// that change or watch a few calls and leave the rest alone. The inner
// registry adds its own view to the opens it is handed.
#pragma once

#include "platform/platform.h"

namespace vh {

class ForwardingRegistry : public Registry {
 public:
  explicit ForwardingRegistry(Registry& inner) : inner_(inner) {}

  std::vector<std::string> ValueNames(KeyHandle key) override { return inner_.ValueNames(key); }
  std::uint32_t ValueType(KeyHandle key, const std::string& name) override { return inner_.ValueType(key, name); }
  std::string ReadString(KeyHandle key, const std::string& name) override { return inner_.ReadString(key, name); }
  std::optional<std::uint32_t> ReadDword(KeyHandle key, const std::string& name) override {
    return inner_.ReadDword(key, name);
  }
  std::optional<std::string> ReadValueData(KeyHandle key, const std::string& name) override {
    return inner_.ReadValueData(key, name);
  }
  long SaveKey(KeyHandle key, const std::string& file, const std::string& readerSid, HiveFormat format) override {
    return inner_.SaveKey(key, file, readerSid, format);
  }
  void CloseKey(KeyHandle key) override { inner_.CloseKey(key); }
  long LoadKey(RootKey root, const std::string& name, const std::string& file) override {
    return inner_.LoadKey(root, name, file);
  }
  long UnLoadKey(RootKey root, const std::string& name) override { return inner_.UnLoadKey(root, name); }
  std::optional<KeyFacts> QueryKey(KeyHandle key) override { return inner_.QueryKey(key); }
  std::vector<std::string> SubkeyNames(KeyHandle key) override { return inner_.SubkeyNames(key); }
  long WriteString(KeyHandle key, const std::string& name, const std::string& text) override {
    return inner_.WriteString(key, name, text);
  }
  std::vector<std::string> CountedSubkeyNames(KeyHandle key, std::uint32_t count) override {
    return inner_.CountedSubkeyNames(key, count);
  }

 protected:
  bool OnWow64() override { return inner_.View() != 0; }
  KeyHandle OpenInView(RootKey root, const std::string& subkey, std::uint32_t access) override {
    return inner_.OpenKeyEx(root, subkey, access);
  }
  KeyKind KindInView(KeyHandle parent, const std::string& name, std::uint32_t) override {
    return inner_.QueryKeyKind(parent, name);
  }
  long ReplaceInView(RootKey root, const std::string& subkey, const std::string& newFile,
                     const std::string& backupFile, std::uint32_t) override {
    return inner_.ReplaceKey(root, subkey, newFile, backupFile);
  }
  KeyHandle CreateVolatileInView(RootKey root, const std::string& subkey, std::uint32_t access,
                                 bool& existed) override {
    return inner_.CreateVolatileKey(root, subkey, access, &existed);
  }
  long DeleteInView(RootKey root, const std::string& subkey, std::uint32_t) override {
    return inner_.DeleteKey(root, subkey);
  }
  KeyHandle OpenForBackupInView(RootKey root, const std::string& subkey, std::uint32_t access) override {
    return inner_.OpenKeyForBackup(root, subkey, access);
  }

 private:
  Registry& inner_;
};

}  // namespace vh
