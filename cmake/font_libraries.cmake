# zlib and the woff2 decoder (with Brotli) as two interface targets:
# tavrel::zlib and tavrel::woff2dec. Linux takes Debian's shared libraries;
# the Windows build links static archives by name, because the MinGW zlib
# package also ships an import library that would tie the executable to a DLL.
add_library(tavrel_zlib INTERFACE)
add_library(tavrel::zlib ALIAS tavrel_zlib)
add_library(tavrel_woff2dec INTERFACE)
add_library(tavrel::woff2dec ALIAS tavrel_woff2dec)

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
else()
  find_package(ZLIB REQUIRED)
  target_link_libraries(tavrel_zlib INTERFACE ZLIB::ZLIB)
  find_package(PkgConfig REQUIRED)
endif()
if(TAVREL_FUZZ)
  include(${CMAKE_CURRENT_LIST_DIR}/woff2_from_source.cmake)
elseif(NOT WIN32)
  pkg_check_modules(WOFF2DEC REQUIRED IMPORTED_TARGET libwoff2dec)
  target_link_libraries(tavrel_woff2dec INTERFACE PkgConfig::WOFF2DEC)
endif()
