# The fuzz tree builds the woff2 and Brotli decoders from the Debian source
# packages that scripts/setup fetches for the MinGW build, with the fuzz
# tree's own instrumentation: the fuzzer then sees coverage inside them and
# the sanitizers check every access they make to the file's bytes.
set(TAVREL_DEPS_SOURCES ${CMAKE_SOURCE_DIR}/build/deps/src CACHE PATH "Debian sources of woff2 and Brotli")
file(GLOB woff2_source LIST_DIRECTORIES true ${TAVREL_DEPS_SOURCES}/woff2-*)
file(GLOB brotli_source LIST_DIRECTORIES true ${TAVREL_DEPS_SOURCES}/brotli-*)
if(NOT IS_DIRECTORY "${woff2_source}" OR NOT IS_DIRECTORY "${brotli_source}")
  message(FATAL_ERROR "no woff2 and Brotli sources in ${TAVREL_DEPS_SOURCES}: run scripts/setup")
endif()

file(GLOB brotli_decoder ${brotli_source}/c/dec/*.c ${brotli_source}/c/common/*.c)
add_library(tavrel_brotlidec_instrumented STATIC ${brotli_decoder})
target_include_directories(tavrel_brotlidec_instrumented PUBLIC ${brotli_source}/c/include)

add_library(tavrel_woff2dec_instrumented STATIC
  ${woff2_source}/src/woff2_dec.cc ${woff2_source}/src/woff2_out.cc ${woff2_source}/src/table_tags.cc
  ${woff2_source}/src/variable_length.cc ${woff2_source}/src/woff2_common.cc)
target_include_directories(tavrel_woff2dec_instrumented PUBLIC ${woff2_source}/include)
target_link_libraries(tavrel_woff2dec_instrumented PUBLIC tavrel_brotlidec_instrumented)

# Not our code: its warnings are not ours to make errors of. woff2 stores
# 16-bit values through misaligned pointers on purpose (store_bytes.h), which
# x86 and the MinGW target do in hardware; every other check stays on.
target_compile_options(tavrel_brotlidec_instrumented PRIVATE -w)
target_compile_options(tavrel_woff2dec_instrumented PRIVATE -w -fno-sanitize=alignment)
target_link_libraries(tavrel_woff2dec INTERFACE tavrel_woff2dec_instrumented)
