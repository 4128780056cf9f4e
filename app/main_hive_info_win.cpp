// The info line under the hive list and the advice's sentence on Windows'
// own reorganisation of the hives.
#include "app/hive_info.h"
#include "app/machine_win.h"
#include "app/main_window_win.h"
#include "platform/string_table_win.h"
#include "res/string_ids.h"
#include "ui/controls_win.h"

namespace vh {

namespace {

ReorganizationTexts LoadReorganizationTexts() {
  return {LoadResString(IDS_HIVE_FILE),   LoadResString(IDS_HIVE_REORGANIZED),    LoadResString(IDS_REORGANIZED_ADVICE),
          LoadResString(IDS_THESE_HIVES), LoadResString(IDS_SOME_OF_THESE_HIVES), LoadResString(IDS_TODAY),
          LoadResString(IDS_ONE_DAY_AGO), LoadResString(IDS_DAYS_AGO)};
}

}  // namespace

void TfrmMain::ShowHiveInfo(int row) {
  if (row < 0 || std::size_t(row) >= Hives.size()) {
    controls_->hiveInfo.SetCaption("");
    return;
  }
  const std::size_t i = std::size_t(row);
  std::optional<Reorganization> reorganized = i < reorganizations_.size() ? reorganizations_[i] : std::nullopt;
  // The label draws ANSI text; the program keeps names and paths in UTF-8.
  controls_->hiveInfo.SetCaption(AnsiFromUtf8(HiveInfoText(Hives.HiveNames[i], Hives.HiveFiles[i], reorganized,
                                                           platform_.system.Now(), LoadReorganizationTexts())));
}

std::string TfrmMain::ReorganizedAdvice() {
  return ReorganizedAdviceText(RecentlyReorganized(reorganizations_, platform_.system.Now()), Hives.size(),
                               LoadReorganizationTexts());
}

}  // namespace vh
