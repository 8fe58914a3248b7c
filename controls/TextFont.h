#pragma once
// The fonts the skinned windows draw their texts with, named once so that anything measuring
// a text measures it as it is drawn. Portable: plain numbers.

#include <cstdint>

namespace norvi {

// "MS Shell Dlg", default character set, family FF_SWISS.
struct ShellDlgFontSpec {
  int32_t height;
  int32_t weight;
};

// Captions of bitmap buttons, the message box, the main window's hint line and the picker's
// labels.
inline constexpr ShellDlgFontSpec kTextFont{14, 300};
// Rows of the picker's function lists.
inline constexpr ShellDlgFontSpec kListFont{14, 400};

}  // namespace norvi
