#include "app/DeviceEvents_win32.h"

#include "app/DiscardingTraceSink.h"
#include "app/Messages.h"
#include "base/WideText.h"
#include "model/AppProfiles.h"
#include "receiver/ReceiverProtocol.h"

namespace norvi {
namespace {

constexpr UINT kCloseDelayMs = 500;

// Between the reads of a program's file that exists but cannot be read, as for the profile.
void PauseBeforeRetry() {
  ::Sleep(kProfileReadPauseMs);
}

}  // namespace

DeviceEvents::DeviceEvents(const MainServices& services, Window& window,
                           std::function<void(const std::u16string&)> inForceChanged)
    : services_(services),
      window_(window),
      inForceChanged_(std::move(inForceChanged)),
      function_(active_.Slots, {input_, windows_, system_, timer_, debugger_}),
      driver_(services.trace) {}

DeviceEvents::~DeviceEvents() {
  function_.Shutdown();
}

bool DeviceEvents::Start() {
  timer_.SetOwner(window_.hwnd());
  devices_.RegisterUsb(window_.hwnd());
  Publish();
  driver_.PerformOnReceipt(&performer_);
  const bool reading = driver_.StartReader(window_.hwnd()) != 0;
  driver_.Open();
  return reading;
}

void DeviceEvents::FollowForeground() {
  foreground_ = std::make_unique<ForegroundTracker>(
      [this](const std::u16string& program) { OnForeground(program); });
  driver_.WatchInput(window_.hwnd(), UM_FOREGROUND_CHECK);  // until the system's event shows up
  driver_.FrontSettled(foreground_->LastWindow(), 0);
  GateWhileAppFilesExist();
}

void DeviceEvents::GateWhileAppFilesExist() {
  if (!foreground_) return;
  const std::wstring pattern = W(AppsFolderIn(services_.configFolder) + u"\\*.cfg");
  WIN32_FIND_DATAW found;
  const UniqueFindHandle search(::FindFirstFileW(pattern.c_str(), &found));
  driver_.GateOnFront(search ? window_.hwnd() : nullptr, UM_FOREGROUND_CHECK);
}

void DeviceEvents::Stop() {
  driver_.WatchInput(nullptr, 0);
  driver_.GateOnFront(nullptr, 0);
  foreground_.reset();
  driver_.SetMouseFilter(0);
  services_.trace.Trace(u"OnClose:SetMouseDriverFilter 0\r\n");
  driver_.Close();
  driver_.StopReader();
  // No key stays held after the program; the receiving thread has ended by now.
  performer_.Finish();
  function_.Shutdown();
}

int32_t DeviceEvents::ApplyInForce(ITraceSink& trace) {
  // Keys held for the assignments that were in force must not outlive them.
  ReleaseHeldKeys();
  if (switch_.InForce().empty()) {
    const int32_t result = norvi::ApplyFilerToDevice(services_.profile, *this, trace);
    active_ = services_.profile;
    Publish();
    return result;
  }
  // A program's own file: its slots over the default settings, applied as the default is,
  // without tracing a profile the main window does not show.
  DiscardingTraceSink quiet;
  active_ = LoadAppAssignments(services_.configFolder, switch_.InForce(), services_.profile,
                               PauseBeforeRetry)
                .image;
  ApplyPendingChoices(active_, quiet);
  Publish();
  return norvi::ApplyFilerToDevice(active_, *this, quiet);
}

void DeviceEvents::ProfileReloaded() {
  ReleaseHeldKeys();
  if (switch_.InForce().empty()) {
    active_ = services_.profile;
    Publish();
  }
  ownFiles_.Clear();
  GateWhileAppFilesExist();
}

void DeviceEvents::AppFileChanged(const std::u16string& program) {
  ownFiles_.Forget(program);
  GateWhileAppFilesExist();
  const bool wasInForce = SameExecutableName(switch_.InForce(), program);
  OnForeground(foreground_ ? foreground_->LastProgram() : std::u16string());
  // Still in force: its new file replaces what was read before.
  if (wasInForce && SameExecutableName(switch_.InForce(), program)) SwitchTo(switch_.InForce());
}

std::u16string DeviceEvents::ProgramInFront() {
  if (!foreground_) return {};
  foreground_->Check();
  return foreground_->LastProgram();
}

void DeviceEvents::OnDeviceEvent(uint32_t event, uint32_t performedOnReceipt) {
  // The receiving thread performed every slot it did not leave to this one.
  const uint32_t performed =
      (performedOnReceipt & kPerformedOnReceipt) ? ~performedOnReceipt & 0xFFu : 0;
  DispatchDeviceEvent(event, active_.Slots, services_.trace, *this, performed);
  SwitchTo(switch_.DeviceEventSeen(event));
}

void DeviceEvents::OnDeviceChange(WPARAM event) {
  if (event != DBT_DEVICEREMOVECOMPLETE || receiverGone_) return;
  ReleaseHeldKeys();
  // A removed mouse never reports the release of a button held on it: a waiting switch
  // must not wait for it.
  SwitchTo(switch_.ReleaseAll());
  if (services_.app.DetectReceiver(ReceiverId) != 0) return;
  // The box runs its own message loop: a second removal arriving meanwhile must not show a
  // second box or close twice.
  receiverGone_ = true;
  services_.app.Tell(std::u16string(services_.strings.Text("str_notfind")), false, window_.hwnd());
  ::Sleep(kCloseDelayMs);
  window_.Post(WM_CLOSE);
}

// Asked by a press (ask non-zero), the look is taken whatever the system delivers, and the
// answer lets the press go on under the assignments settled here.
void DeviceEvents::OnForegroundCheck(uint32_t ask) {
  if (!foreground_) return;
  if (ask == 0 && foreground_->EventsDelivered()) {
    driver_.WatchInput(nullptr, 0);
    return;
  }
  if (ask == 0) driver_.InputWatched();
  foreground_->Check();
  driver_.FrontSettled(foreground_->LastWindow(), ask);
}

void DeviceEvents::OnForeground(const std::u16string& program) {
  // Only a valid file of its own changes anything; every other program shares the default.
  const bool own = ownFiles_.HasOwnFile(program, [this](std::u16string_view name) {
    return LoadAppAssignments(services_.configFolder, name, services_.profile, PauseBeforeRetry)
        .source;
  });
  SwitchTo(switch_.Foreground(own ? program : std::u16string()));
}

void DeviceEvents::SwitchTo(const std::optional<std::u16string>& key) {
  if (!key) return;
  DiscardingTraceSink quiet;  // a switch is not an apply of the main window
  ApplyInForce(quiet);
  inForceChanged_(switch_.InForce());
}

}  // namespace norvi
