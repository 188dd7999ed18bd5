# HarfBuzz for the native release tree, compiled from the same Debian source
# package scripts/setup fetches for the MinGW build, as one static archive with
# none of its optional dependencies: tavrel-cli then starts without loading
# FreeType, GLib and the rest that Debian's shared library pulls in, which
# would cost every command time and memory whether it shapes or not.
set(TAVREL_DEPS_SOURCES ${CMAKE_SOURCE_DIR}/build/deps/src CACHE PATH "Debian sources of woff2, Brotli and HarfBuzz")
file(GLOB harfbuzz_source LIST_DIRECTORIES true ${TAVREL_DEPS_SOURCES}/harfbuzz-*)
if(NOT IS_DIRECTORY "${harfbuzz_source}")
  message(FATAL_ERROR "no HarfBuzz source in ${TAVREL_DEPS_SOURCES}: run scripts/setup")
endif()
add_library(tavrel_harfbuzz_static STATIC ${harfbuzz_source}/src/harfbuzz.cc)
target_include_directories(tavrel_harfbuzz_static SYSTEM PUBLIC ${harfbuzz_source}/src)
# Not our code: its warnings are not ours to make errors of.
target_compile_options(tavrel_harfbuzz_static PRIVATE -w -fno-exceptions -fno-rtti -O2 -g0)
find_package(Threads REQUIRED)
target_link_libraries(tavrel_harfbuzz_static PUBLIC Threads::Threads)
target_link_libraries(tavrel_harfbuzz INTERFACE tavrel_harfbuzz_static)
