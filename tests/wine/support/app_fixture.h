// A test registry for the program's windows: hives listed in the prefix's
// real hivelist, each the hive of a profile the prefix's ProfileList lists
// (so that it is one of the system's own), a real key below HKEY_USERS (so
// that the program's RegSaveKey writes real copies) and a file standing for
// its hive file; and the program's platform with swaps and restarts
// recorded.
#pragma once

#include <windows.h>

#include <functional>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/recording_platform.h"
#include "platform/win32_platform_win.h"
#include "tests/wine/support/wine_env.h"

namespace vh::test {

struct TestHive {
  std::string name;  // as listed: \REGISTRY\USER\<sid>
  std::string file;  // C:\vh-test-...\<key>
  std::string sid;   // its key below HKEY_USERS: S-1-5-21-7-7-<number>
};

// Removes the volatile key by which a run marks swaps waiting for the
// restart: under Wine no restart ever drops it, and each test is a machine
// of its own.
void ForgetWaitingSwaps();

// The hive's live key, opened for all access; the caller closes it.
HKEY OpenTestKey(const TestHive& hive);
// The hive's key and everything below it, gone.
void DeleteTestKey(const TestHive& hive);
// Saves the hive's key to file (RegSaveKey, with the backup privilege), as
// the backup a swap leaves: a file that loads as that hive. True when saved.
bool SaveTestKey(const TestHive& hive, const std::string& file);
// What the recording platform writes for the hive's swap.
std::string SwapRecord(const TestHive& hive, const std::string& newFile, const std::string& backupFile);

// Fills a hive's key with count keys, a thousand to a branch, each with a
// value: as many second-level keys as a used system's hive has, which the
// copy check opens one by one. False when the registry refused one.
bool AddSubkeys(const TestHive& hive, int count);

class TestRegistry {
 public:
  TestRegistry();
  ~TestRegistry();
  // A hive whose key holds about payloadBytes of values and whose stand-in
  // hive file has fileBytes.
  const TestHive& AddHive(const std::string& key, std::size_t payloadBytes, std::size_t fileBytes);
  // The prefix's own HKLM\<key> (SYSTEM, SOFTWARE), listed as Windows lists
  // it, with a stand-in hive file.
  const TestHive& AddSystemHive(const std::string& key, std::size_t fileBytes);
  const std::deque<TestHive>& hives() const { return hives_; }
  const ScratchFolder& folder() const { return folder_; }

 private:
  const TestHive& List(const TestHive& hive, std::size_t fileBytes);

  ScratchFolder folder_;
  HKEY hivelist_ = nullptr;
  std::deque<TestHive> hives_;  // references to its elements stay valid
};

// The program's platform for in-process window tests.
class RecordedPlatform {
 public:
  // A machine of its own: no journal of an earlier test, whose swaps would
  // wait for a restart that never comes under Wine.
  RecordedPlatform() : recording_(real_.platform()) {
    real_.Delete(real_.ExecutableFolder() + "varnhold-journal.txt");
    ForgetWaitingSwaps();
  }
  Platform& platform() { return recording_.platform(); }
  const std::vector<std::string>& records() const { return recording_.records(); }
  Win32Platform& real() { return real_; }
  // What Windows answers to a restart request (RecordingPlatform::restartAnswer).
  void AnswerRestarts(std::function<bool(const std::string&)> answer) { recording_.restartAnswer = std::move(answer); }

 private:
  Win32Platform real_;
  RecordingPlatform recording_;
};

// Message boxes answered by the test, their texts and captions kept.
class MessageBoxes {
 public:
  MessageBoxes();
  ~MessageBoxes();
  MessageBoxes(const MessageBoxes&) = delete;
  MessageBoxes& operator=(const MessageBoxes&) = delete;
  std::vector<std::string> texts, captions;
  int answer = IDOK;
  std::function<void()> onShown;  // called as each box appears
};

// A path with its drive as the device the drive stands for, as the hivelist
// names hive files: "C:\x" -> "\Device\HarddiskVolume1\x".
std::string DevicePath(const std::string& path);

// Calls action once, from inside whatever message loop runs, after ms.
void AfterMs(int ms, std::function<void()> action);

}  // namespace vh::test
