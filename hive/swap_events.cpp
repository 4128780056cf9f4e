#include "hive/swap_events.h"

#include "hive/figures.h"
#include "res/event_ids.h"

namespace vh {

namespace {

std::string SizeText(std::int64_t bytes) { return bytes < 0 ? "unreadable" : FormatSizeKB(bytes); }

}  // namespace

std::string SwapLine(const std::string& hiveName, std::int64_t fromBytes, std::int64_t toBytes) {
  return hiveName + ": " + SizeText(fromBytes) + ", " + SizeText(toBytes);
}

std::string EventList(const std::vector<std::string>& lines) {
  if (lines.empty()) return "none";
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

void ReportDefragEvent(EventLog& log, const DefragReport& report) {
  std::string hives = std::to_string(report.hives.size());
  if (report.Scheduled() == 0) {
    log.Report(EventType::Error, kEventDefragNothingScheduled, {hives, EventList(report.NotScheduledLines())});
    return;
  }
  std::vector<std::string> scheduled;
  for (const HiveResult& hive : report.hives) {
    if (hive.outcome == HiveOutcome::Scheduled)
      scheduled.push_back(SwapLine(hive.hiveName, hive.currentSize, hive.copySize));
  }
  log.Report(EventType::Information, kEventDefragScheduled,
             {std::to_string(report.Scheduled()), hives, EventList(scheduled), EventList(report.NotScheduledLines())});
}

void ReportUndoEvent(EventLog& log, const JournalEntry& done) {
  std::vector<std::string> scheduled, notUndone;
  for (const JournalHive& hive : done.hives) {
    if (hive.outcome == JournalOutcome::Scheduled) {
      scheduled.push_back(SwapLine(hive.name, hive.currentSize, hive.copySize));
    } else if (hive.outcome == JournalOutcome::Skipped) {
      notUndone.push_back(hive.name + ": " + hive.skipReason);
    } else {
      notUndone.push_back(hive.name + ": Windows refused the swap back (error " + std::to_string(hive.error) + ")");
    }
  }
  if (scheduled.empty()) {
    log.Report(EventType::Error, kEventUndoNothingScheduled, {EventList(notUndone)});
    return;
  }
  log.Report(EventType::Information, kEventUndoScheduled,
             {std::to_string(scheduled.size()), std::to_string(done.hives.size()), EventList(scheduled),
              EventList(notUndone)});
}

void ReportRestartNotStarted(EventLog& log, const std::string& reason) {
  log.Report(EventType::Error, kEventRestartNotStarted, {reason});
}

}  // namespace vh
