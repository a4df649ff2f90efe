# MORVANE_SANITIZE builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first report ends the program, so a test
# cannot pass over one. MORVANE_FUZZ adds libFuzzer's coverage instrumentation
# on top and builds the fuzz targets instead of the tests.
option(MORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(MORVANE_FUZZ "Build the libFuzzer targets (needs clang++)" OFF)

if(MORVANE_SANITIZE OR MORVANE_FUZZ)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
if(MORVANE_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
