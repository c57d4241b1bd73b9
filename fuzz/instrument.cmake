# The fuzzing build: clang's libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first fault. Every library a harness links is instrumented as well, so the
# fuzzer is guided by the branches of the code under test, not only of the harness.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "QUOR_FUZZ needs clang (./quor fuzz configures clang++-14)")
endif()
add_compile_options(-fsanitize=address,undefined,float-divide-by-zero,fuzzer-no-link
                    -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined,float-divide-by-zero)
