#include <windows.h>

#include "base/WideText.h"
#include "model/DebugOutput.h"
#include "model/TraceLine.h"

namespace norvi {

void DebuggerOutput::Write(std::u16string_view line) {
  TraceLine terminated;
  terminated.Text(line);
  ::OutputDebugStringW(W(terminated.CString()));
}

}  // namespace norvi
