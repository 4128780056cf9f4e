#include "lang/messages.h"

#include <stdexcept>

#include "lang/translation.h"

namespace vh {

namespace {

const char kResourceSection[] = "ResourceString";

bool IsPlace(const std::string& text, std::size_t i) {
  return text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
}

}  // namespace

const std::vector<MessageText>& AllMessages() {
  static const std::vector<MessageText> all = {
#define VH_MESSAGE(id, number, key, english) {id, key, english},
#include "res/messages.h"
#undef VH_MESSAGE
  };
  return all;
}

const MessageText& MessageOf(unsigned id) {
  for (const MessageText& m : AllMessages())
    if (m.id == id) return m;
  throw std::out_of_range("no message " + std::to_string(id));
}

std::set<int> PlacesOf(const std::string& text) {
  std::set<int> places;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (IsPlace(text, i)) places.insert(text[i + 1] - '0');
  return places;
}

std::string FillPlaces(const std::string& text, const std::vector<std::string>& values) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t n = IsPlace(text, i) ? std::size_t(text[i + 1] - '1') : values.size();
    if (n < values.size()) {
      out += values[n];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Messages::Text(unsigned id, const std::vector<std::string>& values) const {
  const MessageText& m = MessageOf(id);
  std::string text = m.english;
  // A translation that drops or invents a place would lose a path or a
  // date the user must see: the English stands in for it.
  if (std::optional<std::string> own = file_.Value(kResourceSection, m.key);
      own && !own->empty() && PlacesOf(*own) == PlacesOf(text))
    text = *own;
  return FillPlaces(text, values);
}

std::string Phrase::In(const Messages& messages) const {
  if (id == 0) return "";
  std::vector<std::string> filled = values;
  if (!listed.empty()) {
    std::string list;
    for (unsigned item : listed) list += (list.empty() ? "" : "; ") + messages.Text(item);
    filled.push_back(list);
  }
  return messages.Text(id, filled);
}

Messages LoadMessages(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan) {
  if (!ShouldTranslate(lan)) return Messages();
  return Messages(ReadLanguageFile(profiles, LanguageFilePath(exeFolder, lan), lan));
}

Messages LoadMessages(Platform& platform, const std::string& lan) {
  return LoadMessages(platform.profiles, platform.files.ExecutableFolder(), lan);
}

const Messages& MessagesCache::For(const std::string& lan) {
  if (lan_ != lan) {
    messages_ = LoadMessages(platform_, lan);
    lan_ = lan;
  }
  return messages_;
}

}  // namespace vh
