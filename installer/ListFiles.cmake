# Writes the installer's file lists from the installed layout, so that the uninstaller removes
# exactly the files the installer wrote and nothing a user put beside them.
#   cmake -DDIST=<dist folder> -DOUT=<folder for the lists> -P ListFiles.cmake
# The main window's pictures and languagetype.ini are left out: the installer writes those for
# the basic language chosen at install time.

file(GLOB_RECURSE files RELATIVE ${DIST} ${DIST}/*)
list(SORT files)
set(install "")
set(uninstall "")
set(folders "")
set(current_folder "<none>")
foreach(rel ${files})
  if(rel MATCHES "^skins/(Main_(Normal|Over|Down)\\.bmp|languagetype\\.ini)$")
    continue()
  endif()
  get_filename_component(folder "${rel}" DIRECTORY)
  string(REPLACE "/" "\\" win_rel "${rel}")
  string(REPLACE "/" "\\" win_folder "${folder}")
  if(NOT folder STREQUAL current_folder)
    set(current_folder "${folder}")
    if(folder STREQUAL "")
      string(APPEND install "SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND install "SetOutPath \"$INSTDIR\\${win_folder}\"\n")
    endif()
  endif()
  string(APPEND install "File \"${DIST}/${rel}\"\n")
  string(APPEND uninstall "Delete \"$INSTDIR\\${win_rel}\"\n")
  # Every folder on the way, so nested folders are removed too.
  while(NOT folder STREQUAL "")
    list(APPEND folders "${folder}")
    get_filename_component(folder "${folder}" DIRECTORY)
  endwhile()
endforeach()
if(NOT install)
  message(FATAL_ERROR "The installed layout ${DIST} is empty")
endif()

# The skins folder always exists because the installer writes the basic language into it.
list(APPEND folders skins)
list(REMOVE_DUPLICATES folders)
# Deepest first: reverse order of a sorted list puts every child before its parent.
list(SORT folders)
list(REVERSE folders)
set(rmdirs "")
foreach(folder ${folders})
  string(REPLACE "/" "\\" win_folder "${folder}")
  # Without /r: a folder that still holds the user's own files stays.
  string(APPEND rmdirs "RMDir \"$INSTDIR\\${win_folder}\"\n")
endforeach()

file(MAKE_DIRECTORY ${OUT})
# Written only when changed, so an unchanged layout does not rebuild the installer.
file(CONFIGURE OUTPUT ${OUT}/install.nsh CONTENT "${install}" @ONLY)
file(CONFIGURE OUTPUT ${OUT}/uninstall.nsh CONTENT "${uninstall}" @ONLY)
file(CONFIGURE OUTPUT ${OUT}/uninstall-folders.nsh CONTENT "${rmdirs}" @ONLY)
