# Our own targets link this; third-party headers (Qt, GoogleTest, CLI11) are
# included as system headers and stay out of it.
add_library(morvane_warnings INTERFACE)
target_compile_options(morvane_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
    # GCC 12 at -O3 reports std::string concatenation as overlapping memcpy
    # (GCC bug 105329); the warning says nothing about our code.
    $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>
    $<$<BOOL:${MORVANE_WERROR}>:-Werror>)
