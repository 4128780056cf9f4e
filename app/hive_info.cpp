#include "app/hive_info.h"

#include "hive/figures.h"

namespace vh {

std::string Substitute(const std::string& text, const std::vector<std::string>& values) {
  std::string out;
  std::size_t from = 0;
  for (const std::string& value : values) {
    std::size_t at = text.find("%s", from);
    if (at == std::string::npos) break;
    out += text.substr(from, at - from) + value;
    from = at + 2;
  }
  return out + text.substr(from);
}

std::string DaysAgoText(std::int64_t days, const ReorganizationTexts& texts) {
  if (days <= 0) return texts.today;
  if (days == 1) return texts.oneDayAgo;
  return Substitute(texts.daysAgo, {std::to_string(days)});
}

std::string HiveInfoText(const std::string& name, const std::string& file,
                         const std::optional<Reorganization>& reorganized, std::uint64_t now,
                         const ReorganizationTexts& texts) {
  std::string text = name + "\n" + Substitute(texts.file, {file});
  if (reorganized) {
    text += "\n" + Substitute(texts.reorganized, {DaysAgoText(DaysBetween(reorganized->time, now), texts),
                                                  UtcDateText(reorganized->time), FormatSizeKB(reorganized->startBytes),
                                                  FormatSizeKB(reorganized->endBytes)});
  }
  return text;
}

std::string ReorganizedAdviceText(const std::optional<RecentReorganization>& recent, std::size_t listedHives,
                                  const ReorganizationTexts& texts) {
  if (!recent) return "";
  std::string which = recent->hives >= listedHives ? texts.theseHives
                                                   : Substitute(texts.someHives, {std::to_string(recent->hives)});
  return Substitute(texts.advice, {which, DaysAgoText(recent->daysAgo, texts)});
}

}  // namespace vh
