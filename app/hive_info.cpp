#include "app/hive_info.h"

#include "hive/figures.h"
#include "lang/messages.h"

namespace vh {

std::string DaysAgoText(std::int64_t days, const ReorganizationTexts& texts) {
  if (days <= 0) return texts.today;
  if (days == 1) return texts.oneDayAgo;
  return FillPlaces(texts.daysAgo, {std::to_string(days)});
}

std::string HiveInfoText(const std::string& name, const std::string& file,
                         const std::optional<Reorganization>& reorganized, std::uint64_t now,
                         const ReorganizationTexts& texts) {
  std::string text = name + "\n" + FillPlaces(texts.file, {file});
  if (reorganized) {
    text += "\n" + FillPlaces(texts.reorganized, {DaysAgoText(DaysBetween(reorganized->time, now), texts),
                                                  UtcDateText(reorganized->time), FormatSizeKB(reorganized->startBytes),
                                                  FormatSizeKB(reorganized->endBytes)});
  }
  return text;
}

std::string ReorganizedAdviceText(const std::optional<RecentReorganization>& recent, std::size_t listedHives,
                                  const ReorganizationTexts& texts) {
  if (!recent) return "";
  std::string which = recent->hives >= listedHives ? texts.theseHives
                                                   : FillPlaces(texts.someHives, {std::to_string(recent->hives)});
  return FillPlaces(texts.advice, {which, DaysAgoText(recent->daysAgo, texts)});
}

}  // namespace vh
