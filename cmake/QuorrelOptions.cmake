# Compiler settings shared by every Quorrel target, as one interface target.
add_library(quorrel_options INTERFACE)
add_library(quorrel::options ALIAS quorrel_options)

target_compile_options(quorrel_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
  # The physics reproduces a stated order of operations; a fused multiply-add
  # would change results in the last bits.
  -ffp-contract=off)
if(QUORREL_WERROR)
  target_compile_options(quorrel_options INTERFACE -Werror)
endif()
if(QUORREL_SANITIZE)
  target_compile_options(quorrel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(quorrel_options INTERFACE -fsanitize=address,undefined)
endif()
if(QUORREL_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # The core is instrumented for coverage so that the fuzzer sees which branches an input
  # reaches; only the harnesses link libFuzzer's main.
  target_compile_options(quorrel_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
  target_link_options(quorrel_options INTERFACE -fsanitize=address,undefined)
endif()
# Includes are written from the source root: #include "physics/reflectance.h".
target_include_directories(quorrel_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

# quorrel_add_library(name SOURCES ... DEPENDS ...): one static library per layer.
function(quorrel_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(quorrel_${name} STATIC)
  add_library(quorrel::${name} ALIAS quorrel_${name})
  target_sources(quorrel_${name} PRIVATE ${ARG_SOURCES})
  target_link_libraries(quorrel_${name} PUBLIC quorrel::options ${ARG_DEPENDS})
endfunction()
