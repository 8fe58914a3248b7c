#include "app/ProfileKeeper_win32.h"

#include "app/ApplyModel.h"
#include "app/MouseSettings.h"

namespace norvi {

ProfileKeeper::ProfileKeeper(const MainServices& services, DeviceEvents& device, IProfileView& view)
    : services_(services),
      device_(device),
      view_(view),
      file_(ProfilePathIn(services.configFolder), [] { ::Sleep(kProfileReadPauseMs); }) {}

void ProfileKeeper::Load() {
  const std::u16string& path = file_.Path();
  const ProfileOutcome outcome = file_.Load(services_.profile);
  switch (outcome.status) {
    case ProfileStatus::PathMissing:
      services_.app.Tell(FillIn(kOpenFailedText, path), false, window_);
      break;
    case ProfileStatus::InvalidSignature:
      services_.app.Tell(std::u16string(services_.chineseInterface ? kInvalidProfileTextChinese
                                                                   : kInvalidProfileText),
                         false, window_);
      break;
    case ProfileStatus::Unreadable:
      if (!toldUnreadable_) services_.Tell(kProfileUnreadableKey, path, window_);
      toldUnreadable_ = true;
      break;
    default: break;
  }
  profileRead_ = outcome.status == ProfileStatus::Loaded;
  if (!profileRead_) ReadPointerAndWheel(services_.profile, device_.System());
  device_.ProfileReloaded();
  view_.UpdateControls(1);
}

ProfileOutcome ProfileKeeper::Apply(bool toWindows) {
  ProfileImage& profile = services_.profile;
  const bool corrected = toWindows ? ApplyPointerAndWheel(profile, device_.System(),
                                                          reinterpret_cast<WindowHandle>(window_))
                                   : CorrectImage(profile);
  ApplyPendingChoices(profile, services_.trace);
  device_.ApplyInForce(services_.trace);
  view_.RefreshTooltips();
  if (corrected) view_.UpdateControls(1);  // show what Windows received
  return file_.Save(profile);
}

void ProfileKeeper::ApplyAtStart() {
  ReportSave(Apply(profileRead_), kProfileNotSavedKey);
}

void ProfileKeeper::ApplyConfirmed() {
  file_.UserConfirmed();
  const ProfileOutcome saved = Apply(true);
  if (saved.status == ProfileStatus::SaveFailed)
    services_.Tell(kProfileAppliedNotSavedKey, file_.Path(), window_);
  else
    services_.Tell("str_msg1", {}, window_);
}

void ProfileKeeper::Reset() {
  file_.UserConfirmed();
  if (file_.Reset().status == ProfileStatus::Saved) {
    Load();
  } else {
    // The defaults still apply; the failed save is reported once, by the apply below.
    services_.profile = DefaultProfile();
    view_.UpdateControls(1);
  }
  ReportSave(Apply(true), kProfileNotSavedKey);
}

void ProfileKeeper::SaveAtExit() {
  ReportSave(file_.Save(services_.profile), kProfileNotSavedKey);
}

void ProfileKeeper::ReportSave(const ProfileOutcome& outcome, std::string_view failureKey) {
  if (outcome.status == ProfileStatus::SaveFailed)
    services_.Tell(failureKey, file_.Path(), window_);
}

}  // namespace norvi
