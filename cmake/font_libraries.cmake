# zlib, the woff2 decoder (with Brotli) and HarfBuzz as three interface
# targets: tavrel::zlib, tavrel::woff2dec and tavrel::harfbuzz. Linux takes Debian's shared libraries;
# the Windows build links static archives by name, because the MinGW zlib
# package also ships an import library that would tie the executable to a DLL.
add_library(tavrel_zlib INTERFACE)
add_library(tavrel::zlib ALIAS tavrel_zlib)
add_library(tavrel_woff2dec INTERFACE)
add_library(tavrel::woff2dec ALIAS tavrel_woff2dec)
add_library(tavrel_harfbuzz INTERFACE)
add_library(tavrel::harfbuzz ALIAS tavrel_harfbuzz)

if(WIN32)
  find_library(TAVREL_ZLIB_ARCHIVE NAMES libz.a REQUIRED)
  target_link_libraries(tavrel_zlib INTERFACE ${TAVREL_ZLIB_ARCHIVE})
  # In link order: each archive before the ones it needs.
  foreach(lib woff2dec woff2common brotlidec-static brotlicommon-static)
    find_library(TAVREL_${lib}_ARCHIVE NAMES lib${lib}.a REQUIRED)
    target_link_libraries(tavrel_woff2dec INTERFACE ${TAVREL_${lib}_ARCHIVE})
  endforeach()
  find_path(TAVREL_WOFF2_INCLUDE woff2/decode.h REQUIRED)
  target_include_directories(tavrel_woff2dec INTERFACE ${TAVREL_WOFF2_INCLUDE})
  # Built by scripts/setup from Debian's source package; its mutexes are Win32's.
  find_library(TAVREL_HARFBUZZ_ARCHIVE NAMES libharfbuzz.a REQUIRED)
  find_path(TAVREL_HARFBUZZ_INCLUDE hb.h PATH_SUFFIXES harfbuzz REQUIRED)
  target_link_libraries(tavrel_harfbuzz INTERFACE ${TAVREL_HARFBUZZ_ARCHIVE})
  target_include_directories(tavrel_harfbuzz INTERFACE ${TAVREL_HARFBUZZ_INCLUDE})
else()
  find_package(ZLIB REQUIRED)
  target_link_libraries(tavrel_zlib INTERFACE ZLIB::ZLIB)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(HARFBUZZ REQUIRED IMPORTED_TARGET harfbuzz)
  target_link_libraries(tavrel_harfbuzz INTERFACE PkgConfig::HARFBUZZ)
endif()
if(TAVREL_FUZZ)
  include(${CMAKE_CURRENT_LIST_DIR}/woff2_from_source.cmake)
elseif(NOT WIN32)
  pkg_check_modules(WOFF2DEC REQUIRED IMPORTED_TARGET libwoff2dec)
  target_link_libraries(tavrel_woff2dec INTERFACE PkgConfig::WOFF2DEC)
endif()
