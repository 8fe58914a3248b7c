# The enumeration's window system and WMI connection, also linked by their tests.
norvi_library(norvi_swap_win32 SOURCES WindowSource_win32.cpp Wmi_win32.cpp
  LIBS norvi_swap_core ole32 oleaut32 wbemuuid psapi shell32 user32)

# Swap.dll: the switcher's Win32 part, runtime linked in, exports named by Swap.def. A copy
# goes to dist/, the installed layout.
add_library(Swap SHARED
  SwapApp_win32.cpp
  SwapWnd_win32.cpp
  Swap.rc
  Swap.def)
set_target_properties(Swap PROPERTIES PREFIX "" OUTPUT_NAME Swap)
target_include_directories(Swap PRIVATE ${NORVI_ROOT} ${NORVI_ART_DIR})
target_compile_options(Swap PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${NORVI_WARNINGS}>)
target_link_libraries(Swap PRIVATE norvi_swap_win32 norvi_framework shlwapi user32 gdi32)
# The desktop icon is generated artwork.
add_dependencies(Swap norvi_art)
set_source_files_properties(Swap.rc PROPERTIES OBJECT_DEPENDS ${NORVI_ART_DIR}/art.stamp)
add_custom_command(TARGET Swap POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Swap> ${CMAKE_BINARY_DIR}/dist/
  VERBATIM)

add_subdirectory(host)
