#include "app/AppEditing.h"

#include "app/ApplyModel.h"

namespace norvi {

void AppEditing::Begin(const std::u16string& program) {
  program_ = program;
  if (!program_.empty())
    image_ = LoadAppAssignments(configFolder_, program_, defaults_, pause_).image;
}

ProfileOutcome AppEditing::Save(ITraceSink& trace) {
  ApplyPendingChoices(image_, trace);
  return SaveAppAssignments(configFolder_, program_, image_, pause_);
}

FileResult AppEditing::Remove() {
  const FileResult removed = RemoveAppAssignments(configFolder_, program_);
  Begin(program_);  // the default assignments it has now
  return removed;
}

std::u16string AppEditing::FilePath() const {
  return AppProfilePathIn(configFolder_, program_).value_or(u"");
}

}  // namespace norvi
