# Sourced by the run and test commands: which Windows build runs here. Sets windows_tree,
# windows_arch and windows_toolchain, and says in one line why when it is the 64-bit build.
# The product ships 32-bit; its tests and the run command need 32-bit Wine for that.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  windows_tree=win32 windows_arch=win32 windows_toolchain=mingw-i686
else
  windows_tree=win64 windows_arch=win64 windows_toolchain=mingw-x86_64
  if [ -e /usr/lib/wine/wine ]; then
    echo "This machine cannot execute 32-bit programs: the 64-bit build of the same code runs instead."
  else
    echo "32-bit Wine is not installed (tools/install-deps.sh could not get it): the 64-bit build of the same code runs instead."
  fi
fi
