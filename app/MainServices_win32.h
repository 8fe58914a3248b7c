#pragma once
// What the main window and its parts use of the application: the string table, the default
// profile, the two folders, the interface layout and the calls only the application makes.
// The window sees this narrow view instead of the application object, so neither includes
// the other.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "localisation/StringTable.h"
#include "model/ProfileImage.h"
#include "model/Text.h"
#include "model/TraceSink.h"

namespace norvi {

class IAppCalls {
 public:
  // A message in the program's message box (one button, or OK and Cancel).
  virtual INT_PTR Tell(const std::u16string& text, bool twoButtons, HWND owner) const = 0;
  // Closes the held receiver handle and looks for the receiver with id: its product id, or 0
  // when none is present.
  virtual int32_t DetectReceiver(uint32_t id) = 0;

 protected:
  ~IAppCalls() = default;
};

struct MainServices {
  StringTable& strings;
  ProfileImage& profile;  // the default profile as loaded, edited and applied
  const std::u16string& programFolder;
  const std::u16string& configFolder;
  // The folder meant for the files when configFolder is another one (it could not be had or
  // is too long); empty otherwise.
  const std::u16string& usualConfigFolder;
  bool& chineseInterface;  // the Chinese layout and skin
  ITraceSink& trace;
  IAppCalls& app;

  // The language text under key, its "%s" replaced by value.
  std::u16string Text(std::string_view key, std::u16string_view value = {}) const {
    return FillIn(strings.Text(key), value);
  }
  // The same text in the message box, one button.
  void Tell(std::string_view key, std::u16string_view value, HWND owner) const {
    app.Tell(Text(key, value), false, owner);
  }
};

}  // namespace norvi
