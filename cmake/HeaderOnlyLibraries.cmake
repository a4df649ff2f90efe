# CLI11 and nlohmann/json are header-only. A cross build for Windows takes the
# headers that Debian installed for the host, and only those: the host's
# include folder as a whole would put Linux's C headers before the cross
# compiler's own.
if(TARGET CLI11::CLI11)
    return()
endif()
if(CMAKE_CROSSCOMPILING)
    set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
    file(COPY /usr/include/CLI /usr/include/nlohmann DESTINATION ${host_headers})
    add_library(CLI11::CLI11 INTERFACE IMPORTED)
    target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${host_headers})
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${host_headers})
else()
    find_package(CLI11 REQUIRED)
    find_package(nlohmann_json 3 REQUIRED)
endif()
