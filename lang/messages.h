// The program's messages in the user's language.
//
//   MessageText   one row of res/messages.h: id, language file key, English.
//   FillPlaces    puts the program's values into %1 to %9.
//   Messages      every message in one language: the language file's
//                 [ResourceString] value where it has one whose places
//                 match the English, else the English.
//   Phrase        a message and its values, kept apart until it is shown,
//                 so that each reader gets it in its own language.
//   MessagesCache the messages of the current language, read once.
//
// Texts come out in UTF-8, as the windows and message boxes take them.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "lang/language_file.h"
#include "platform/platform.h"
#include "res/string_ids.h"

namespace vh {

struct MessageText {
  unsigned id;
  const char* key;
  const char* english;
};

// Every row of res/messages.h, in its order.
const std::vector<MessageText>& AllMessages();
// The row of that id; throws std::out_of_range for an id no row has.
const MessageText& MessageOf(unsigned id);

// The place numbers (1 to 9) a text holds.
std::set<int> PlacesOf(const std::string& text);
// Each %n replaced by values[n-1]; a place without a value, and every
// other percent sign, stays as written.
std::string FillPlaces(const std::string& text, const std::vector<std::string>& values);

class Messages {
 public:
  // English.
  Messages() = default;
  explicit Messages(LanguageFile file) : file_(std::move(file)) {}

  std::string Text(unsigned id, const std::vector<std::string>& values = {}) const;
  // The code page the language file is written in (the system's for
  // English): the windows choose their fonts' script from it.
  unsigned CodePage() const { return file_.CodePage(); }

 private:
  LanguageFile file_;
};

// A message with the values of its places, put into words where it is read:
// in the user's language in a box, in English in the logs. A list of
// messages may fill the place after the values (what Windows' servicing is
// doing), each in the same language, "; " between them.
struct Phrase {
  unsigned id = 0;  // 0: nothing to say
  std::vector<std::string> values;
  std::vector<unsigned> listed;

  std::string In(const Messages& messages) const;
  std::string English() const { return In(Messages()); }
};

// The messages in lan: English when lan is English, else from DLan_<lan>.ini.
Messages LoadMessages(ProfileFiles& profiles, const std::string& exeFolder, const std::string& lan);
Messages LoadMessages(Platform& platform, const std::string& lan);

// The messages of the language last asked for: its file is read and decoded
// once, and again only when another language is asked for (the language
// menu changes it). Used on one thread.
class MessagesCache {
 public:
  explicit MessagesCache(Platform& platform) : platform_(platform) {}
  // Valid until another language is asked for.
  const Messages& For(const std::string& lan);

 private:
  Platform& platform_;
  std::optional<std::string> lan_;
  Messages messages_;
};

}  // namespace vh
