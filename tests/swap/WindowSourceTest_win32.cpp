// The enumeration's Win32 side: process paths, the WMI fallback and set-up, icons.

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <thread>
#include <vector>

#include "FakeWindowSource.h"
#include "base/Handles_win32.h"
#include "base/WideText.h"
#include "model/Text.h"
#include "swap/WindowSource_win32.h"

namespace norvi::swap {
namespace {

std::u16string ThisProgram() {
  wchar_t path[MAX_PATH];
  return U16(std::wstring_view(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH)));
}

class WindowSourceWin : public ::testing::Test {
 protected:
  void SetUp() override { trace.SetEnabled(true); }
  testkit::LineRecorder sink;
  SwapTrace trace{sink};
  WmiConnection wmi;
  Win32WindowSource windows{::GetModuleHandleW(nullptr), wmi, trace};
};

TEST_F(WindowSourceWin, ReadsTheExecutableOfAProcessFromItsFirstModule) {
  EXPECT_EQ(windows.ExecutablePath(::GetCurrentProcessId()), ThisProgram());
  EXPECT_TRUE(sink.Lines().empty());
}

TEST_F(WindowSourceWin, TracesAnUnreadableProcessAndFindsNothingWithoutWmi) {
  EXPECT_EQ(windows.ExecutablePath(0xFFFFFFF0), u"");
  ASSERT_EQ(sink.Lines().size(), 1u);
  EXPECT_EQ(sink.Lines()[0].rfind(u"GetModuleFileNameEx failed, error code= ", 0), 0u);
  EXPECT_NE(sink.Lines()[0], u"GetModuleFileNameEx failed, error code= 0");
}

TEST_F(WindowSourceWin, TakesOnlyRealIconsFromAnExecutable) {
  EXPECT_TRUE(windows.FirstIcon(ThisProgram()));
  EXPECT_FALSE(windows.FirstIcon(u"C:\\no\\such\\program.exe"));
  // A file without icons yields 1 from ExtractIconW, which is no icon either.
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring text = std::wstring(folder) + L"swap-no-icon.txt";
  {
    UniqueFileHandle f(
        ::CreateFileW(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  EXPECT_FALSE(windows.FirstIcon(U16(text.c_str())));
  ::DeleteFileW(text.c_str());
}

TEST_F(WindowSourceWin, ConnectsToWmiAndBalancesTheComInitialisation) {
  ASSERT_TRUE(wmi.Open(trace)) << (sink.Lines().empty() ? "" : Utf16ToUtf8(sink.Lines().back()));
  EXPECT_TRUE(sink.Lines().empty());
  // Wine's Win32_Process has no "ExecutablePath"; Windows names the program.
  const std::u16string viaWmi = wmi.ExecutablePath(::GetCurrentProcessId());
  EXPECT_TRUE(viaWmi.empty() || viaWmi == ThisProgram());
  EXPECT_EQ(windows.ExecutablePath(0xFFFFFFF0), u"");
  ASSERT_TRUE(wmi.Open(trace));  // a repeated set-up replaces the connection
  EXPECT_TRUE(wmi.IsOpen());
  wmi.Close();
  // Fully uninitialised: the thread may now join the multithreaded apartment.
  EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  ::CoUninitialize();
}

TEST_F(WindowSourceWin, SetUpInAMultithreadedApartmentFailsWithItsMessage) {
  std::thread([this] {
    ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_FALSE(wmi.Open(trace));
    EXPECT_FALSE(wmi.IsOpen());
    ::CoUninitialize();
  }).join();
  EXPECT_EQ(sink.Lines(), std::vector<std::u16string>{
                              u"Failed to initialize COM library. Error code = 0x80010106"});
}

}  // namespace
}  // namespace norvi::swap
