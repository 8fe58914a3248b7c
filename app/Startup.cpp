#include "app/Startup.h"

#include <cstdio>

#include "model/Text.h"

namespace norvi {

std::u16string ProgramFolderFrom(std::u16string_view modulePath) {
  const size_t cut = modulePath.rfind(u'\\');
  return cut == std::u16string_view::npos ? std::u16string()
                                          : std::u16string(modulePath.substr(0, cut));
}

std::u16string LibraryPathIn(std::u16string_view programFolder, std::u16string_view name) {
  std::u16string path(programFolder);
  path += u'\\';
  path += name;
  return path;
}

std::u16string StartBanner(const LocalTime& t) {
  char line[96];
  std::snprintf(line, sizeof line, "==============%4d-%2d-%2d      %2d:%2d:%2d=============\r\n",
                t.year, t.month, t.day, t.hour, t.minute, t.second);
  const std::u16string rule = u"===================================================\r\n";
  return rule + AsciiToUtf16(line) + rule;
}

const StartupTexts& StartupTextsFor(uint16_t defaultLanguageId) {
  static constexpr StartupTexts kChinese{true,
                                         u"确定",
                                         u"未发现Norvi接收器设备.",
                                         u"加载Pardex.dll失败.",
                                         u"加载Swap.dll失败.",
                                         u"Norvi程序已经以更高权限或为其他用户运行, 本程序将关闭."};
  static constexpr StartupTexts kEnglish{
      false,
      u"OK",
      u"No Norvi device connected. Application will close now.",
      u"Loading Pardex.dll failed.",
      u"Loading Swap.dll failed.",
      u"The Norvi program is already running with higher rights or for another user. This "
      u"copy will close now."};
  return defaultLanguageId == kLangChineseSimplified ? kChinese : kEnglish;
}

constexpr std::u16string_view kTitleSeparator = u" - ";

std::u16string TitleNaming(std::u16string_view program) {
  std::u16string title(kMainWindowTitle);
  if (!program.empty()) title.append(kTitleSeparator).append(program);
  return title;
}

bool IsMainWindowTitle(std::u16string_view title) {
  const std::u16string_view base(kMainWindowTitle);
  if (title.substr(0, base.size()) != base) return false;
  const std::u16string_view rest = title.substr(base.size());
  return rest.empty() || (rest.size() > kTitleSeparator.size() &&
                          rest.substr(0, kTitleSeparator.size()) == kTitleSeparator);
}

}  // namespace norvi
