#include "hive/journal.h"

#include <limits>

#include "hive/hive_table.h"
#include "platform/file_path.h"
#include "platform/text.h"

namespace vh {

namespace {

const char kDefragHeader[] = "[Defragmentation]";
const char kUndoHeader[] = "[Undo]";
const char kRestartHeader[] = "[Restart Not Started]";
const char kOutcomeHeader[] = "[Swap Outcome]";
const char kRefusedPrefix[] = "refused with error ";
const char kSkippedPrefix[] = "skipped: ";

struct StepName {
  RestorePointStep step;
  const char* text;
};
const StepName kStepNames[] = {
    {RestorePointStep::NotAsked, "not asked"},
    {RestorePointStep::NotOffered, "not offered on this Windows"},
    {RestorePointStep::Created, "created"},
    {RestorePointStep::Reused, "reused"},
    {RestorePointStep::FailedWentOn, "failed, went on"},
    {RestorePointStep::Stopped, "failed, stopped"},
};

// A line break would end the field and "|" the hive's fields; neither may
// come from a name the registry or a file system handed over.
std::string Field(const std::string& text, bool allowBar) {
  std::string clean = text;
  for (char& c : clean)
    if (c == '\r' || c == '\n' || (!allowBar && c == '|')) c = '?';
  return clean;
}

bool ParseUnsigned(const std::string& text, std::uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  std::uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    std::uint64_t digit = std::uint64_t(c - '0');
    if (v > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
    v = v * 10 + digit;
  }
  value = v;
  return true;
}

bool ParseSigned(const std::string& text, std::int64_t& value) {
  bool negative = !text.empty() && text[0] == '-';
  std::uint64_t magnitude = 0;
  if (!ParseUnsigned(negative ? text.substr(1) : text, magnitude)) return false;
  if (magnitude > std::uint64_t(std::numeric_limits<std::int64_t>::max())) return false;
  value = negative ? -std::int64_t(magnitude) : std::int64_t(magnitude);
  return true;
}

// The outcomes written as a plain word; the other two carry a detail.
struct OutcomeName {
  JournalOutcome outcome;
  const char* text;
};
const OutcomeName kOutcomeNames[] = {
    {JournalOutcome::Scheduled, "scheduled"},
    {JournalOutcome::NotCopied, "not copied"},
    {JournalOutcome::CheckFailed, "check failed"},
    {JournalOutcome::ToSwap, "to swap"},
    {JournalOutcome::NotSwapped, "not swapped"},
};

bool ParseOutcome(const std::string& text, JournalHive& hive) {
  for (const OutcomeName& o : kOutcomeNames) {
    if (text == o.text) {
      hive.outcome = o.outcome;
      return true;
    }
  }
  if (text.compare(0, sizeof kRefusedPrefix - 1, kRefusedPrefix) == 0) {
    std::int64_t error = 0;
    if (!ParseSigned(text.substr(sizeof kRefusedPrefix - 1), error)) return false;
    if (error < std::numeric_limits<long>::min() || error > std::numeric_limits<long>::max()) return false;
    hive.outcome = JournalOutcome::Refused;
    hive.error = long(error);
  } else if (text.compare(0, sizeof kSkippedPrefix - 1, kSkippedPrefix) == 0) {
    hive.outcome = JournalOutcome::Skipped;
    hive.skipReason = text.substr(sizeof kSkippedPrefix - 1);
  } else {
    return false;
  }
  return true;
}

// outcome|current size|copy size|file|name; the name takes the rest.
bool ParseHive(const std::string& text, JournalHive& hive) {
  std::string fields[4];
  std::size_t from = 0;
  for (std::string& field : fields) {
    std::size_t bar = text.find('|', from);
    if (bar == std::string::npos) return false;
    field = text.substr(from, bar - from);
    from = bar + 1;
  }
  hive.name = text.substr(from);
  // Earlier versions wrote a 64-bit system's hives through Sysnative.
  hive.file = SystemFolderSpelling(fields[3]);
  return ParseOutcome(fields[0], hive) && ParseSigned(fields[1], hive.currentSize) &&
         ParseSigned(fields[2], hive.copySize) && !hive.file.empty() && !hive.name.empty();
}

// size|last write|file; the file takes the rest.
bool ParseStore(const std::string& text, StoreHive& store) {
  const std::size_t first = text.find('|');
  const std::size_t second = first == std::string::npos ? first : text.find('|', first + 1);
  if (second == std::string::npos) return false;
  store.file = text.substr(second + 1);
  return ParseSigned(text.substr(0, first), store.size) &&
         ParseUnsigned(text.substr(first + 1, second - first - 1), store.written) && !store.file.empty();
}

bool ParseRestorePoint(const std::string& text, RestorePointStep& step) {
  for (const StepName& s : kStepNames) {
    if (text == s.text) {
      step = s.step;
      return true;
    }
  }
  return false;
}

// Fields an entry must have; what was read of them.
struct EntryReader {
  JournalEntry entry;
  bool hasTime = false, hasStamp = false, hasRestorePoint = false, hasCount = false;
  std::uint64_t declared = 0;

  void Take(const std::string& key, const std::string& value) {
    bool ok = true;
    if (key == "Computer") {
      entry.computer = value;
    } else if (key == "Ended") {
      entry.ended = value;
    } else if (key == "Run") {
      ok = ParseUnsigned(value, entry.run);
    } else if (key == "Ids") {
      // The identities of the hive line before it.
      std::size_t bar = value.find('|');
      ok = !entry.hives.empty() && bar != std::string::npos && value.find('|', bar + 1) == std::string::npos &&
           entry.hives.back().currentId.empty() && entry.hives.back().copyId.empty();
      if (ok) {
        entry.hives.back().currentId = value.substr(0, bar);
        entry.hives.back().copyId = value.substr(bar + 1);
      }
    } else if (key == "Windows") {
      ok = !entry.machine;
      entry.machine.emplace().build = value;
    } else if (key == "Store") {
      StoreHive store;
      ok = entry.machine && ParseStore(value, store);
      if (ok) entry.machine->stores.push_back(store);
    } else if (key == "Time") {
      hasTime = true;
      entry.time = value;
    } else if (key == "Stamp") {
      ok = hasStamp = ParseUnsigned(value, entry.stamp);
    } else if (key == "Restore Point") {
      ok = hasRestorePoint = ParseRestorePoint(value, entry.restorePoint);
    } else if (key == "Hives") {
      ok = hasCount = ParseUnsigned(value, declared);
    } else if (key == "Reason") {
      entry.reason = value;
    } else if (key == "Hive") {
      JournalHive hive;
      ok = ParseHive(value, hive);
      if (ok) entry.hives.push_back(hive);
    }
    if (!ok) entry.damaged = true;
  }

  JournalEntry Finish(bool closed) {
    bool needsRestorePoint = entry.kind == JournalKind::Defragmentation;
    bool needsHives = entry.kind != JournalKind::RestartNotStarted;
    if (!closed || !hasTime || !hasStamp || (needsHives && !hasCount) || (needsRestorePoint && !hasRestorePoint) ||
        declared != entry.hives.size() || (entry.kind == JournalKind::SwapOutcome && entry.run == 0))
      entry.damaged = true;
    return entry;
  }
};

std::string TrimmedLine(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
  return line;
}

const char* HeaderOf(JournalKind kind) {
  switch (kind) {
    case JournalKind::Undo:
      return kUndoHeader;
    case JournalKind::RestartNotStarted:
      return kRestartHeader;
    case JournalKind::SwapOutcome:
      return kOutcomeHeader;
    case JournalKind::Defragmentation:
      break;
  }
  return kDefragHeader;
}

// The text's lines, ended by CR LF, LF or a lone CR (a journal an editor
// saved with carriage returns only). A run of NULs, as a power cut leaves
// where the file system had grown the file but not yet written it, is
// returned as a line of its own holding one NUL: it breaks whatever entry
// it falls into.
std::vector<std::string> JournalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
      open = false;
    } else if (c == '\0') {
      if (open) lines.push_back(line);
      line.clear();
      open = false;
      if (lines.empty() || lines.back() != std::string(1, '\0')) lines.push_back(std::string(1, '\0'));
    } else {
      line.push_back(c);
      open = true;
    }
  }
  if (open) lines.push_back(line);
  return lines;
}

std::string RestorePointText(RestorePointStep step) {
  for (const StepName& s : kStepNames)
    if (s.step == step) return s.text;
  return "";
}

std::string OutcomeText(const JournalHive& hive) {
  if (hive.outcome == JournalOutcome::Refused) return kRefusedPrefix + std::to_string(hive.error);
  if (hive.outcome == JournalOutcome::Skipped) return kSkippedPrefix + Field(hive.skipReason, false);
  for (const OutcomeName& o : kOutcomeNames)
    if (o.outcome == hive.outcome) return o.text;
  return "";
}

bool SameHive(const JournalHive& a, const JournalHive& b) { return a.name == b.name && a.file == b.file; }

// Each whole outcome replaces the "to swap" of its entry's hives; the
// outcomes themselves are not returned.
std::vector<JournalEntry> FoldOutcomes(const std::vector<JournalEntry>& read) {
  std::vector<JournalEntry> entries;
  for (const JournalEntry& e : read) {
    if (e.kind != JournalKind::SwapOutcome) {
      entries.push_back(e);
      continue;
    }
    if (e.damaged) continue;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      if (it->stamp != e.run || it->damaged ||
          (it->kind != JournalKind::Defragmentation && it->kind != JournalKind::Undo))
        continue;
      for (JournalHive& h : it->hives) {
        if (h.outcome != JournalOutcome::ToSwap) continue;
        for (const JournalHive& done : e.hives) {
          if (!SameHive(h, done) || done.outcome == JournalOutcome::ToSwap) continue;
          h.outcome = done.outcome;
          h.error = done.error;
          h.skipReason = done.skipReason;
        }
      }
      break;
    }
  }
  return entries;
}

}  // namespace

int JournalEntry::Scheduled() const {
  int n = 0;
  for (const JournalHive& h : hives) n += h.outcome == JournalOutcome::Scheduled;
  return n;
}

bool JournalEntry::OfComputer(const std::string& name) const {
  return computer.empty() || EqualsIgnoreCase(computer, name);
}

std::string JournalPath(Files& files) { return files.ExecutableFolder() + "varnhold-journal.txt"; }

std::string FormatJournalEntry(const JournalEntry& entry) {
  std::string text = HeaderOf(entry.kind);
  text += "\r\nTime=" + Field(entry.time, true) + "\r\nStamp=" + std::to_string(entry.stamp) + "\r\n";
  if (!entry.computer.empty()) text += "Computer=" + Field(entry.computer, true) + "\r\n";
  if (entry.kind == JournalKind::RestartNotStarted) return text + "Reason=" + Field(entry.reason, true) + "\r\n\r\n";
  if (entry.kind == JournalKind::SwapOutcome) text += "Run=" + std::to_string(entry.run) + "\r\n";
  if (entry.kind == JournalKind::Defragmentation)
    text += "Restore Point=" + RestorePointText(entry.restorePoint) + "\r\n";
  if (!entry.ended.empty()) text += "Ended=" + Field(entry.ended, true) + "\r\n";
  if (entry.machine) {
    text += "Windows=" + Field(entry.machine->build, true) + "\r\n";
    for (const StoreHive& s : entry.machine->stores)
      text += "Store=" + std::to_string(s.size) + "|" + std::to_string(s.written) + "|" + Field(s.file, true) + "\r\n";
  }
  text += "Hives=" + std::to_string(entry.hives.size()) + "\r\n";
  for (const JournalHive& h : entry.hives) {
    text += "Hive=" + OutcomeText(h) + "|" + std::to_string(h.currentSize) + "|" + std::to_string(h.copySize) + "|" +
            Field(h.file, false) + "|" + Field(h.name, true) + "\r\n";
    if (!h.currentId.empty() || !h.copyId.empty())
      text += "Ids=" + Field(h.currentId, false) + "|" + Field(h.copyId, false) + "\r\n";
  }
  return text + "\r\n";
}

std::vector<JournalEntry> ParseJournal(const std::string& text) {
  std::vector<JournalEntry> entries;
  std::optional<EntryReader> current;
  auto close = [&](bool whole) {
    if (current) entries.push_back(current->Finish(whole));
    current.reset();
  };
  for (std::string line : JournalLines(text)) {
    if (line == std::string(1, '\0')) {
      close(false);
      continue;
    }
    line = TrimmedLine(line);
    if (line.empty()) {
      // The blank line that closes every entry: without it, the write
      // that made the entry was cut short, perhaps inside its last name.
      close(true);
      continue;
    }
    if (line[0] == '[') {
      close(false);
      for (JournalKind kind : {JournalKind::Defragmentation, JournalKind::Undo, JournalKind::RestartNotStarted,
                               JournalKind::SwapOutcome}) {
        if (line != HeaderOf(kind)) continue;
        current.emplace();
        current->entry.kind = kind;
      }
      continue;
    }
    std::size_t equals = line.find('=');
    if (!current || equals == std::string::npos) continue;
    current->Take(line.substr(0, equals), line.substr(equals + 1));
  }
  close(false);
  return FoldOutcomes(entries);
}

JournalEntry SwapOutcomeOf(std::uint64_t run, const std::vector<JournalHive>& hives) {
  JournalEntry outcome;
  outcome.kind = JournalKind::SwapOutcome;
  outcome.run = run;
  outcome.hives = hives;
  return outcome;
}

void JudgeByFiles(JournalEntry& entry, Files& files) {
  for (JournalHive& h : entry.hives) {
    if (h.outcome != JournalOutcome::ToSwap) continue;
    entry.judgedByFiles = true;
    bool tookEffect = false;
    if (!h.copyId.empty()) {
      tookEffect = files.Identity(h.file) == h.copyId;
    } else {
      const std::string taken = entry.kind == JournalKind::Undo ? BackupPath(h.file) : CopyPath(h.file);
      tookEffect = !files.EntryExists(taken);
    }
    h.outcome = tookEffect ? JournalOutcome::Scheduled : JournalOutcome::NotSwapped;
  }
}

bool AppendJournalEntry(const JournalWriter& writer, JournalEntry& entry, bool flush) {
  entry.stamp = writer.system.Now();
  entry.computer = writer.system.ComputerName();
  if (writer.nowText) entry.time = writer.nowText();
  std::string text = FormatJournalEntry(entry);
  // A file that does not end with a line end (a cut write, NUL padding, a
  // lone carriage return) would glue the header onto its last line.
  std::optional<std::string> tail = writer.files.ReadTail(writer.path, 1);
  // After a lone carriage return only the line feed is added: the pair is
  // one line end, and an entry cut short must not look closed.
  if (tail && !tail->empty() && tail->back() != '\n') text = (tail->back() == '\r' ? "\n" : "\r\n") + text;
  // One write for the whole entry, so that a failure cannot leave half of it.
  if (writer.files.AppendText(writer.path, text) && (!flush || writer.files.Flush(writer.path))) return true;
  if (writer.logFailure) writer.logFailure("The journal " + writer.path + " could not be written.");
  return false;
}

std::vector<JournalEntry> ReadJournal(Files& files, const std::string& path) {
  std::optional<std::string> text = files.ReadTail(path, kJournalTailBytes);
  std::vector<JournalEntry> entries = text ? ParseJournal(*text) : std::vector<JournalEntry>{};
  for (JournalEntry& e : entries) JudgeByFiles(e, files);
  return entries;
}

}  // namespace vh
