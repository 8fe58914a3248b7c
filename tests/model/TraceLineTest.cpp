// The one formatter of diagnostic lines: exact texts of the program's formats, number edges,
// and the 255-unit cut.
#include <gtest/gtest.h>

#include <string>

#include "model/TraceLine.h"
#include "model/Text.h"

namespace norvi {
namespace {

struct FormatCase {
  std::u16string_view format;
  std::initializer_list<TraceArg> args;
  std::u16string_view expected;
};

TEST(TraceLine, FormatsEachConversionExactly) {
  const std::u16string title = u"Editor";
  const FormatCase cases[] = {
      {u"ApplySetting:应用%d按键.InitID:%d,TempID:%d,FunID:%d\r\n",
       {2, 3, 12, 12},
       u"ApplySetting:应用2按键.InitID:3,TempID:12,FunID:12\r\n"},
      {u"[%d]: hIcon=%x, Text= %ws\n", {3, 0xABCDEFu, title}, u"[3]: hIcon=abcdef, Text= Editor\n"},
      {u"%d %x 100%%", {-5, uint32_t(0xFFFFFFFF)}, u"-5 ffffffff 100%"},
      {u"%d|%x|%x", {-2147483647 - 1, 0, 0x10}, u"-2147483648|0|10"},
      // Numbers wider than 32 bits are cut to their low half, as the 32-bit program sees them.
      {u"%x %d", {uint64_t(0x1234567890), int64_t(0x100000005)}, u"34567890 5"},
      {u"missing %d and %ws", {}, u"missing  and "},
      {u"%s is text, %c a number", {u"T", 7}, u"T is text, 7 a number"},
      {u"ends in %", {1}, u"ends in %"},
      {u"no conversions", {1, 2}, u"no conversions"},
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(FormatTrace(c.format, c.args).View(), c.expected) << Utf16ToUtf8(c.format);
}

TEST(TraceLine, CutsAt255UnitsAndStaysTerminated) {
  const std::u16string longText(300, u'z');
  const TraceLine formatted = FormatTrace(u"Process= %ws", {longText});
  EXPECT_EQ(formatted.View(), u"Process= " + std::u16string(TraceLine::kCapacity - 9, u'z'));

  TraceLine built;
  for (int i = 0; i < 100; ++i) built.Text(u"abc").Decimal(-1).Hex(0xF);
  EXPECT_EQ(built.View().size(), TraceLine::kCapacity);
  EXPECT_EQ(built.CString()[TraceLine::kCapacity], u'\0');
  EXPECT_EQ(built.View().substr(0, 8), u"abc-1fab");
}

}  // namespace
}  // namespace norvi
