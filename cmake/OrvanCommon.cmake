# Compiler settings shared by every target of the project.
add_library(orvan_common_cfg INTERFACE)
target_compile_features(orvan_common_cfg INTERFACE cxx_std_20)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(orvan_common_cfg INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra>)
if(ORVAN_WITH_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
