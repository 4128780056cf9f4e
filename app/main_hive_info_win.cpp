// The info line under the hive list and the advice's sentence on Windows'
// own reorganisation of the hives.
#include "app/hive_info.h"
#include "app/main_window_win.h"
#include "res/string_ids.h"
#include "ui/controls_win.h"

namespace vh {

namespace {

ReorganizationTexts LoadReorganizationTexts(const Messages& shown) {
  return {shown.Text(IDS_HIVE_FILE),   shown.Text(IDS_HIVE_REORGANIZED),    shown.Text(IDS_REORGANIZED_ADVICE),
          shown.Text(IDS_THESE_HIVES), shown.Text(IDS_SOME_OF_THESE_HIVES), shown.Text(IDS_TODAY),
          shown.Text(IDS_ONE_DAY_AGO), shown.Text(IDS_DAYS_AGO)};
}

}  // namespace

void TfrmMain::ShowHiveInfo(int row) {
  if (row < 0 || std::size_t(row) >= Hives.size()) {
    controls_->hiveInfo.SetCaption("");
    return;
  }
  const std::size_t i = std::size_t(row);
  std::optional<Reorganization> reorganized = i < reorganizations_.size() ? reorganizations_[i] : std::nullopt;
  controls_->hiveInfo.SetCaption(HiveInfoText(Hives.HiveNames[i], Hives.HiveFiles[i], reorganized,
                                              platform_.system.Now(), LoadReorganizationTexts(CurrentMessages())));
}

std::string TfrmMain::ReorganizedAdvice() {
  return ReorganizedAdviceText(RecentlyReorganized(reorganizations_, platform_.system.Now()), Hives.size(),
                               LoadReorganizationTexts(CurrentMessages()));
}

}  // namespace vh
