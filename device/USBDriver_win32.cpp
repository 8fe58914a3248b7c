#include "device/USBDriver_win32.h"

#include "device/DriverPort_win32.h"
#include "device/UserModeFilter_win32.h"

namespace norvi {

namespace {

static_assert(kWmUser == WM_USER);

// The reader's initial commit; its reservation is the program's default (2 MiB), so the
// stack can still grow.
constexpr SIZE_T kReaderStackBytes = 4096;
// StopReader waits this long for the reader before closing what it waits on.
constexpr DWORD kReaderStopWaitMs = 1000;
constexpr wchar_t kLinkWindowClass[] = L"NorviDeviceLink";
constexpr wchar_t kLinkWindowName[] = L"Zarqo24gms";

ATOM RegisterLinkWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = kLinkWindowClass;
  return ::RegisterClassExW(&wc);
}

// Hidden, handles no message of its own.
HWND CreateLinkWindow() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (!::GetClassInfoExW(instance, kLinkWindowClass, &existing) &&
      !RegisterLinkWindowClass(instance)) {
    return nullptr;
  }
  return ::CreateWindowExW(0, kLinkWindowClass, kLinkWindowName, WS_POPUP, 1, 1, 1, 1, nullptr,
                           nullptr, instance, nullptr);
}

uint32_t HandleValue(HANDLE handle) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

}  // namespace

struct CUSBDriver::ProductionPorts {
  DebuggerOutput debug;
  DeviceControlPort device;
  UserModeFilter filter;
};

CUSBDriver::CUSBDriver(ITraceSink& trace)
    : CUSBDriver(trace, std::make_unique<ProductionPorts>()) {}

CUSBDriver::CUSBDriver(ITraceSink& trace, std::unique_ptr<ProductionPorts> ports)
    : ports_(std::move(ports)), link_(trace, ports_->debug, ports_->device, &ports_->filter) {}

CUSBDriver::CUSBDriver(ITraceSink& trace, IDebugOutput& debug, IDriverIo& device,
                       IDriverIo* fallback)
    : link_(trace, debug, device, fallback) {}

CUSBDriver::~CUSBDriver() {
  Close();
  StopReader();
}

int CUSBDriver::Open() {
  if (!link_.Open(HandleValue(semaphore_.get()))) return 0;
  if (link_.DeliverTo(*this)) return 1;
  // Without the semaphore and its reader the driver would swallow inputs nobody performs.
  if (semaphore_ && StartReaderThread()) return 1;
  link_.Close();
  return 0;
}

void CUSBDriver::WatchInput(HWND window, UINT message) {
  if (ports_) ports_->filter.WatchInput(window, message);
}

void CUSBDriver::InputWatched() {
  if (ports_) ports_->filter.InputWatched();
}

void CUSBDriver::GateOnFront(HWND window, UINT message) {
  if (ports_) ports_->filter.GateOnFront(window, message);
}

void CUSBDriver::FrontSettled(HWND front, uint32_t answer) {
  if (ports_) ports_->filter.FrontSettled(front, answer);
}

// The semaphore and the link window; the reader thread follows in Open once the endpoint is
// known to need one.
int CUSBDriver::StartReader(HWND target) {
  if (semaphore_) return 1;
  target_.store(target);
  semaphore_.reset(::CreateSemaphoreW(nullptr, 0, kEventSemaphoreMaximum, nullptr));
  if (!semaphore_) return 0;
  linkWindow_.reset(CreateLinkWindow());
  return 1;
}

bool CUSBDriver::StartReaderThread() {
  if (reader_) return true;
  stop_.store(0);
  reader_.reset(::CreateThread(nullptr, kReaderStackBytes, ReaderThread, this, 0, nullptr));
  return static_cast<bool>(reader_);
}

int CUSBDriver::StopReader() {
  target_.store(nullptr);  // an endpoint that still delivers posts nothing more
  stop_.store(1);
  if (semaphore_) ::ReleaseSemaphore(semaphore_.get(), 1, nullptr);
  if (reader_ && ::WaitForSingleObject(reader_.get(), kReaderStopWaitMs) != WAIT_OBJECT_0) {
    // The reader is stuck in a driver call: leave it its semaphore rather than close a handle
    // it may still wait on.
    semaphore_.release();
  }
  semaphore_.reset();
  reader_.reset();
  linkWindow_.reset();
  return 1;
}

DWORD WINAPI CUSBDriver::ReaderThread(void* self) {
  static_cast<CUSBDriver*>(self)->ReadLoop();
  return 0;
}

// One wake-up, one read and one posted message per event; nothing allocated. Waits before
// it looks at stop_, so that a StopReader right after Open still sees the last pass.
void CUSBDriver::ReadLoop() {
  DeviceEvent cell = 0;
  uint32_t dueMs = kNothingDue;
  do {
    // A pause of a sequence performed here ends while no event comes.
    const DWORD woken =
        ::WaitForSingleObject(semaphore_.get(), dueMs == kNothingDue ? INFINITE : dueMs);
    if (woken == WAIT_OBJECT_0 && link_.ReadEvent(cell)) Deliver(cell);
    Flush();
    dueMs = Continue();
  } while (stop_.load() == 0);
}

// Without a target the event is consumed and dropped, which is not a loss.
bool CUSBDriver::Deliver(DeviceEvent event) {
  HWND target = target_.load();
  if (!target) return true;
  if (!performer_) return Post(event, 0);
  const uint32_t left = performer_->Perform(event, ::GetTickCount());
  // What the main thread must still perform goes at once; a note of what is done waits, in
  // order behind the notes before it.
  if (left != 0 || noteCount_ == notes_.size()) {
    Flush();
    return Post(event, kPerformedOnReceipt | left);
  }
  notes_[noteCount_++] = event;
  return true;
}

uint32_t CUSBDriver::Continue() {
  return performer_ ? performer_->Continue(::GetTickCount()) : kNothingDue;
}

void CUSBDriver::Flush() {
  for (size_t i = 0; i < noteCount_; ++i) Post(notes_[i], kPerformedOnReceipt);
  noteCount_ = 0;
}

bool CUSBDriver::Post(DeviceEvent event, uint32_t lParam) {
  HWND target = target_.load();
  if (!target) return true;
  link_.TraceEvent(event);
  return ::PostMessageW(target, UM_DEVICE_EVENT, event, lParam) != FALSE;
}

}  // namespace norvi
