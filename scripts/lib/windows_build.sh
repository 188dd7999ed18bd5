# Configures build/windows as scripts/test does, when it is not configured
# yet, and builds the targets given. Expects $top.
BuildWindows() {
  local dir="$top/build/windows"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    mkdir -p "$dir"
    cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
      -DCMAKE_CROSSCOMPILING_EMULATOR="$top/scripts/wine-exec" >"$dir.configure.log" 2>&1 ||
      { cat "$dir.configure.log"; return 1; }
  fi
  cmake --build "$dir" -j2 --target "$@" >"$dir.build.log" 2>&1 ||
    { grep -E 'error|Error' "$dir.build.log" | head -30; return 1; }
}
