// Loads the built receiver library from the installed layout and drives its exports.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "base/Handles_win32.h"
#include "base/WideText.h"
#include "receiver/Pardex_win32.h"
#include "receiver/ReceiverProtocol.h"
#include "swap/SwapExports_win32.h"  // BindExport

namespace norvi {
namespace {

std::wstring DistLibrary() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  // The test sits in <build>\tests\receiver, the installed layout in <build>\dist.
  return (std::filesystem::path(self).parent_path().parent_path().parent_path() / L"dist" /
          L"Pardex.dll")
      .wstring();
}

class PardexTest : public testing::Test {
 protected:
  void SetUp() override {
    library_.reset(::LoadLibraryW(DistLibrary().c_str()));
    ASSERT_TRUE(library_) << "no Pardex.dll in the installed layout";
    open_ = BindExport<OpenHidDeviceFn>(library_.get(), "OpenHidDevice");
    read_ = BindExport<GetInputReportFn>(library_.get(), "GetInputReport");
    find_ = BindExport<FindHidDeviceFn>(library_.get(), "FindHidDevice");
    ASSERT_TRUE(open_ && read_ && find_);
  }
  void TearDown() override { ::SetEnvironmentVariableW(W(kSimulationVariable), nullptr); }

  static void Simulate(const wchar_t* value) {
    ::SetEnvironmentVariableW(W(kSimulationVariable), value);
  }
  UniqueFileHandle Open(USHORT page, USHORT usage, const std::u16string& id) {
    path_.fill(L'#');
    return UniqueFileHandle(open_(page, usage, W(id), path_.data(), kReceiverPathBytes));
  }

  UniqueModule library_;
  OpenHidDeviceFn open_ = nullptr;
  GetInputReportFn read_ = nullptr;
  FindHidDeviceFn find_ = nullptr;
  std::array<wchar_t, kReceiverPathBytes / 2> path_{};
  const std::u16string id_ = ReceiverIdText(ReceiverId);
};

TEST_F(PardexTest, SimulatedReceiverOpensWritesItsPathAndAnswersTheQuery) {
  Simulate(L"1");
  UniqueFileHandle device = Open(kReceiverUsagePage, kReceiverUsage, id_);
  ASSERT_TRUE(device);
  EXPECT_STREQ(path_.data(), L"\\\\.\\NUL");
  EXPECT_TRUE(find_(kReceiverUsagePage, kReceiverUsage, W(id_)));

  // The caller opens the written path again and queries it, as start-up does.
  UniqueFileHandle reopened(::CreateFileW(path_.data(), 0x12019F,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reopened);
  std::array<BYTE, kQueryBufferLength> buffer{kQueryReportId, kQueryCommand};
  buffer[40] = 0x77;  // beyond the 32 bytes asked for: must stay untouched
  ASSERT_TRUE(read_(reopened.get(), buffer.data(), kQueryReportLength));
  EXPECT_EQ(ReceiverInfoValue(true, std::span(buffer).first(4)), 0x010203);
  EXPECT_EQ(buffer[40], 0x77);
}

TEST_F(PardexTest, EmptyValueMeansPluggedWhateverTheLastErrorWas) {
  Simulate(L"");
  ::SetLastError(ERROR_ENVVAR_NOT_FOUND);  // left over from an earlier look-up
  EXPECT_TRUE(Open(kReceiverUsagePage, kReceiverUsage, id_));
}

TEST_F(PardexTest, SimulatedReceiverMatchesOnlyItsCollectionAndId) {
  Simulate(L"1");
  EXPECT_FALSE(Open(0xFF01, kReceiverUsage, id_));
  EXPECT_FALSE(Open(kReceiverUsagePage, 0x0F, id_));
  EXPECT_FALSE(Open(kReceiverUsagePage, kReceiverUsage, ReceiverIdText(ReceiverId + 1)));
  EXPECT_FALSE(
      open_(kReceiverUsagePage, kReceiverUsage, nullptr, path_.data(), kReceiverPathBytes));
}

TEST_F(PardexTest, MarkerFileDecidesWhetherTheSimulatedReceiverIsPlugged) {
  const std::filesystem::path marker =
      std::filesystem::temp_directory_path() / L"norvi-receiver-marker";
  std::filesystem::remove(marker);
  Simulate(marker.c_str());
  EXPECT_FALSE(Open(kReceiverUsagePage, kReceiverUsage, id_));
  EXPECT_FALSE(find_(kReceiverUsagePage, kReceiverUsage, W(id_)));
  std::ofstream(marker).put('1');
  EXPECT_TRUE(Open(kReceiverUsagePage, kReceiverUsage, id_));
  std::filesystem::remove(marker);
}

TEST_F(PardexTest, WithoutSimulationNoReceiverIsFoundAndReadsFail) {
  // No HID device carries the made-up id on a test machine.
  EXPECT_FALSE(Open(kReceiverUsagePage, kReceiverUsage, id_));
  std::array<BYTE, kQueryBufferLength> buffer{kQueryReportId};
  EXPECT_FALSE(read_(nullptr, buffer.data(), kQueryReportLength));
}

TEST_F(PardexTest, PathIsCutToTheCallersBuffer) {
  Simulate(L"1");
  wchar_t small[4] = {L'#', L'#', L'#', L'#'};
  UniqueFileHandle device(
      open_(kReceiverUsagePage, kReceiverUsage, W(id_), small, 3 * sizeof(wchar_t)));
  ASSERT_TRUE(device);
  EXPECT_STREQ(small, L"\\\\");
  EXPECT_EQ(small[3], L'#');
}

}  // namespace
}  // namespace norvi
