#include "device/DriverLink.h"

#include <algorithm>

#include "model/TraceLine.h"

namespace norvi {

namespace {

ControlResult SendCell(IDriverIo& io, uint32_t code, uint32_t value) {
  return io.Control(code, &value, kCellBytes, nullptr, 0);
}

}  // namespace

DriverLink::DriverLink(ITraceSink& trace, IDebugOutput& debug, IDriverIo& device,
                       IDriverIo* fallback)
    : trace_(trace), debug_(debug), device_(device), fallback_(fallback) {}

void DriverLink::DebugError(std::u16string_view codeName, uint32_t error) {
  TraceLine line;
  line.Text(u"ERROR: ").Text(codeName).Text(u" failed, error=").Hex(error).Text(u"\n");
  debug_.Write(line.View());
}

// Sends one cell; a failure goes to the debugger channel as an "ERROR:" line.
bool DriverLink::SendReported(IDriverIo& io, uint32_t code, std::u16string_view codeName,
                              uint32_t value) {
  ControlResult result = SendCell(io, code, value);
  if (!result.ok) DebugError(codeName, result.error);
  return result.ok;
}

int DriverLink::Open(uint32_t semaphoreValue) {
  if (IsOpen()) return 1;
  IDriverIo* io = &device_;
  if (!device_.Open()) {
    debug_.Write(u"Qn Wireless Drv: Open driver failed.");
    // Without the driver the built-in filter answers the same codes.
    if (!fallback_ || !fallback_->Open()) return 0;
    io = fallback_;
  }
  if (!SendCell(*io, IOCTL_WT_HOOK, semaphoreValue).ok) {
    trace_.Trace(u"USBDriver:IOCTL_WT_HOOK FAIL\r\n");
    io->Close();
    return 0;
  }
  trace_.Trace(u"USBDriver:IOCTL_WT_HOOK OK\r\n");
  active_.store(io);
  return 1;
}

int DriverLink::SetMouseFilter(uint32_t mask) {
  IDriverIo* io = active_.load();
  if (!io) return 0;
  if (!SendCell(*io, IOCTL_SET_MSFILTER, mask).ok) {
    trace_.Trace(u"USBDriver:IOCTL_SET_MSFILTER FAIL\r\n");
    return 0;
  }
  TraceLine line;
  line.Text(u"USBDriver:IOCTL_SET_MSFILTER\uFF1A").Decimal(static_cast<int32_t>(mask));
  trace_.Trace(line.Text(u" OK\r\n").View());
  return 1;
}

int DriverLink::SetKeyboardFilter(uint32_t value) {
  IDriverIo* io = active_.load();
  if (!io) return 0;
  return SendReported(*io, IOCTL_SET_KBFILTER, u"IOCTL_SET_KBFILTER", value) ? 1 : 0;
}

int DriverLink::SetDebug(uint32_t level) {
  IDriverIo* io = active_.load();
  if (!io) return 0;
  TraceLine line;
  debug_.Write(line.Text(u"QN: SetDebug, dwDebug=").Hex(level).Text(u"\n").View());
  return SendReported(*io, IOCTL_SET_DEBUG, u"IOCTL_SET_DEBUG", level) ? 1 : 0;
}

int DriverLink::SetComboFilter(uint32_t bits) {
  IDriverIo* io = active_.load();
  if (!io) return 0;
  if (bits == 0) {
    return SendReported(*io, IOCTL_SET_COMBOFILTER, u"IOCTL_SET_COMBOFILTER", 0) ? 1 : 0;
  }
  for (size_t bit = 0; bit < kComboBitEntries.size(); ++bit) {
    if ((bits >> bit & 1) && !AddComboEntry(*io, kComboBitEntries[bit])) return 0;
  }
  return 1;
}

// Fetches the table and writes it back with the entry in the first free place, unless the
// entry is already there.
int DriverLink::AddComboEntry(IDriverIo& io, uint32_t entry) {
  ComboTable table{};
  ControlResult result = io.Control(IOCTL_GET_COMBOFILTER, table.data(), kComboTableBytes,
                                    table.data(), kComboTableBytes);
  if (!result.ok) {
    DebugError(u"IOCTL_GET_COMBOFILTER", result.error);
    return 0;
  }
  if (std::find(table.begin(), table.end(), entry) != table.end()) return 1;
  auto freeEntry = std::find(table.begin(), table.end(), 0u);
  if (freeEntry == table.end()) return 0;
  *freeEntry = entry;
  result = io.Control(IOCTL_SET_COMBOFILTER, table.data(), kComboTableBytes, nullptr, 0);
  if (!result.ok) {
    DebugError(u"IOCTL_SET_COMBOFILTER", result.error);
    return 0;
  }
  return 1;
}

int DriverLink::Close() {
  IDriverIo* io = active_.load();
  if (!io) return 1;
  SendReported(*io, IOCTL_SET_MSFILTER, u"IOCTL_SET_MSFILTER", 0);
  SendReported(*io, IOCTL_SET_KBFILTER, u"IOCTL_SET_KBFILTER", 0);
  io->Control(IOCTL_WT_UNHOOK, nullptr, 0, nullptr, 0);
  SetDebug(0);
  active_.store(nullptr);
  io->Close();
  return 1;
}

bool DriverLink::DeliverTo(IEventSink& sink) {
  IDriverIo* io = active_.load();
  return io && io->DeliverTo(sink);
}

bool DriverLink::ReadEvent(DeviceEvent& cell) {
  IDriverIo* io = active_.load();
  if (!io) return false;
  if (!io->Control(IOCTL_WT_READ, &cell, kCellBytes, &cell, kCellBytes).ok) {
    trace_.Trace(u"USBDriver:IOCTL_WT_READ FAIL\r\n");
    return false;
  }
  return true;
}

void DriverLink::TraceEvent(DeviceEvent event) {
  TraceLine line;
  line.Text(u"USBDriver:IOCTL_WT_READ ").Decimal(static_cast<int32_t>(event)).Text(u"\r\n");
  trace_.Trace(line.View());
}

}  // namespace norvi
