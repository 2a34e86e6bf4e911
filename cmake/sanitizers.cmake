# KORVANEL_SANITIZE builds every target, the libraries included, with
# AddressSanitizer and UndefinedBehaviorSanitizer; the first finding ends the
# program. The fuzz build turns it on and adds coverage instrumentation, so
# that the readers and writers in the libraries are coverage-guided and
# checked, not only the fuzz targets themselves.
option(KORVANEL_SANITIZE "Build every target with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(KORVANEL_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzzers need clang (libFuzzer): configure with CC=clang CXX=clang++")
  endif()
  set(KORVANEL_SANITIZE ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(KORVANEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
