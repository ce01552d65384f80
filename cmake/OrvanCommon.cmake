# Compiler settings shared by every target of the project. Every target
# (libraries, programs, the Tempix library and its Designer plugin, tests,
# benchmarks, tools, fuzz harnesses) links orvan_common_cfg, so the language
# standard, the warnings, the strict Qt defines and the sanitizers are set
# here and nowhere else.
option(ORVAN_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

add_library(orvan_common_cfg INTERFACE)
target_compile_features(orvan_common_cfg INTERFACE cxx_std_20)

set(ORVAN_GNU_OR_CLANG $<CXX_COMPILER_ID:GNU,Clang,AppleClang>)

target_compile_options(orvan_common_cfg INTERFACE
  $<${ORVAN_GNU_OR_CLANG}:-Wall -Wextra -Wshadow -Wconversion -Wsign-conversion
    -Wold-style-cast -Woverloaded-virtual -Wnon-virtual-dtor>)
if(ORVAN_WARNINGS_AS_ERRORS)
  target_compile_options(orvan_common_cfg INTERFACE $<${ORVAN_GNU_OR_CLANG}:-Werror>)
endif()

# Qt strings are built from explicit encodings (QStringLiteral, fromUtf8,
# tr); a plain char* never turns into a QString behind the reader's back.
# Targets without Qt ignore the define.
target_compile_definitions(orvan_common_cfg INTERFACE QT_NO_CAST_FROM_ASCII)

# Address and undefined-behaviour sanitizers for the whole build.
if(ORVAN_WITH_ASAN)
  target_compile_options(orvan_common_cfg INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(orvan_common_cfg INTERFACE -fsanitize=address,undefined)
endif()

# Fuzzing build (Clang only): every target is instrumented for libFuzzer's
# coverage and runs under the address and undefined-behaviour sanitizers; the
# harnesses under tests/fuzz link libFuzzer's main themselves.
if(ORVAN_WITH_FUZZ)
  target_compile_options(orvan_common_cfg INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(orvan_common_cfg INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined)
endif()
