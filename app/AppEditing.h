#pragma once
// Which assignments the main window edits: the default profile, or one program's own file in
// "Apps", read when its editing begins and written or removed on the user's word. Portable.

#include <functional>
#include <optional>
#include <string>

#include "model/AppProfiles.h"
#include "model/ProfileImage.h"
#include "model/TraceSink.h"

namespace norvi {

class AppEditing {
 public:
  // defaults: the default profile, which a program without a file of its own shares; pause
  // waits between the reads of a file that exists but cannot be read.
  AppEditing(const std::u16string& configFolder, ProfileImage& defaults,
             std::function<void()> pause = {})
      : configFolder_(configFolder), defaults_(defaults), pause_(std::move(pause)) {}

  // Starts editing program's own assignments; empty: the default profile.
  void Begin(const std::u16string& program);
  // The program being edited; empty while the default profile is.
  const std::u16string& Program() const { return program_; }
  bool EditsDefault() const { return program_.empty(); }
  ProfileImage& Edited() { return program_.empty() ? defaults_ : image_; }

  // Applies the pending choices and writes the program's file.
  ProfileOutcome Save(ITraceSink& trace);
  // Removes the program's file and edits what it shares now, the default.
  FileResult Remove();
  // The program's file, for messages.
  std::u16string FilePath() const;

 private:
  const std::u16string& configFolder_;
  ProfileImage& defaults_;
  std::function<void()> pause_;
  std::u16string program_;
  ProfileImage image_{};  // the program's assignments while they are edited
};

}  // namespace norvi
