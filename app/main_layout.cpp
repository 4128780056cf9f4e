#include "app/main_layout.h"

#include <cstring>

namespace vh {

namespace {

constexpr std::int32_t Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }
using K = MainControlKind;

}  // namespace

const std::vector<MainControlSpec>& MainWindowLayout() {
  static const std::vector<MainControlSpec> layout = {
      {"Image1", K::Picture, 0, 0, 556, 393, "", "", 0},
      {"lTitle", K::Label, 17, 12, 197, 16, "Varnhold", "", 0},
      {"bMinimize", K::ImageButton, 488, 9, 24, 24, "", "Minimize", 0},
      {"bClose", K::HoverImage, 517, 9, 24, 24, "", "Minimize to system tray", 0},
      {"suiURLLabel1", K::LinkLabel, 436, 38, 81, 13, "www.tolvane.com", "", 0},
      {"lTitle1", K::Label, 13, 67, 88, 13, "Main", "", 0},
      {"suiImagePanel1", K::ImagePanel, 11, 85, 100, 1, "", "", 0},
      {"bAnalyzeRegistry", K::FlatButton, 13, 93, 94, 25, "Analyze Registry", "Analyze your registry", Rgb(224, 224, 222)},
      {"bDefragRegistry", K::FlatButton, 13, 122, 91, 25, "Defrag Registry", "Defrag your registry", Rgb(224, 224, 222)},
      {"bOptions", K::FlatButton, 12, 151, 56, 25, "Options", "Settings", Rgb(228, 228, 226)},
      {"lTitle3", K::Label, 13, 193, 72, 13, "Help", "", 0},
      {"suiImagePanel2", K::ImagePanel, 11, 213, 100, 1, "", "", 0},
      {"bHomepage", K::FlatButton, 15, 221, 68, 25, "Homepage", "Homepage", Rgb(241, 239, 238)},
      {"bLanguage", K::FlatButton, 16, 252, 64, 25, "Language", "Help", Rgb(245, 246, 244)},
      {"bAbout", K::FlatButton, 16, 283, 37, 25, "Help", "Help", Rgb(241, 242, 240)},
      {"bExit", K::FlatButton, 16, 314, 35, 25, "Exit", "Exit", Rgb(234, 233, 233)},
      {"lvMain", K::ListView, 119, 65, 423, 236, "", "", 0},
      {"lLastWashed", K::Label, 116, 312, 109, 13, "Current Registry Size:", "", 0},
      {"Label4", K::Label, 116, 330, 101, 13, "New Registry Size:", "", 0},
      {"Label5", K::Label, 116, 348, 93, 13, "Size Reduction:", "", 0},
      {"lCompactPercent1", K::Label, 117, 366, 92, 13, "Compact Percent:", "", 0},
      {"lCurrentRegistrySize", K::Label, 222, 312, 70, 13, "1,232,757 KB", "", 0},
      {"lNewRegistrySize", K::Label, 222, 330, 70, 13, "30,651 KB", "", 0},
      {"lSizeReduction", K::Label, 222, 348, 70, 13, "300 KB", "", 0},
      {"lCompactPercent", K::Label, 222, 366, 70, 13, "15%", "", 0},
      {"Label6", K::Label, 342, 312, 47, 13, "Step Hint:", "", 0},
      {"Label2", K::Label, 353, 330, 163, 13, "1. Analyze the Windows registry.", "", 0},
      {"Label1", K::Label, 353, 348, 155, 13, "2. Review the analyzing result.", "", 0},
      {"Label3", K::Label, 353, 366, 195, 13, "3. Defrag the registry and restart the pc.", "", 0},
  };
  return layout;
}

std::vector<DragCandidate> MainLayoutDragCandidates() {
  std::vector<DragCandidate> out;
  for (const MainControlSpec& c : MainWindowLayout()) {
    DragKind kind = DragKind::Other;
    switch (c.kind) {
      case K::Picture:
      case K::HoverImage: kind = DragKind::Picture; break;
      case K::Label:
      case K::LinkLabel: kind = DragKind::Label; break;
      case K::FlatButton: kind = DragKind::FlatButton; break;
      default: break;
    }
    out.push_back({c.name, kind, std::strcmp(c.name, "bHomepage") != 0, c.left, c.top, c.width, c.height});
  }
  return out;
}

}  // namespace vh
