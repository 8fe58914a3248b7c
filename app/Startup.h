#pragma once
// The pure parts of start-up: folders, the start banner and the built-in messages shown
// before any language file is read.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/PlatformValues.h"

namespace norvi {

constexpr char16_t kInstanceMutexName[] = u"NorviDriver.exe";
constexpr char16_t kMainWindowTitle[] = u"Zarqo Norvi Mouse Driver";
constexpr char16_t kReceiverLibrary[] = u"Pardex.dll";
constexpr char16_t kSwapLibrary[] = u"Swap.dll";

// The main window's title, naming the program whose assignments are meant when they are
// not the default ones ("Zarqo Norvi Mouse Driver - notepad.exe"); the tray tip too.
std::u16string TitleNaming(std::u16string_view program);
// Whether a window with this title is the main window, whichever program it names.
bool IsMainWindowTitle(std::u16string_view title);

// The folder of the program file: everything before the last backslash (none: empty).
std::u16string ProgramFolderFrom(std::u16string_view modulePath);

// A library beside the program, by full path.
std::u16string LibraryPathIn(std::u16string_view programFolder, std::u16string_view name);

struct LocalTime {
  int year, month, day, hour, minute, second;
};
std::u16string StartBanner(const LocalTime& time);

// The texts of the messages shown before any language file is read, with the title form and
// the button text of their box, all chosen by the system's default language.
struct StartupTexts {
  bool chinese = false;  // the box's Chinese title and layout
  std::u16string_view okText;
  std::u16string_view noReceiver;
  std::u16string_view receiverLibraryFailed;
  std::u16string_view swapLibraryFailed;
  std::u16string_view runningElsewhere;  // another instance that this one cannot reach
};
const StartupTexts& StartupTextsFor(uint16_t defaultLanguageId);

}  // namespace norvi
