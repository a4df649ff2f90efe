# The Win32 rendering: the same dialog logic on the system's own dialogs, as
# one static morvane.exe that needs no DLL beside it.
add_library(morvane_ui STATIC
    ${dialog_logic}
    platform/win32/app.cpp
    platform/win32/dialog.cpp
    platform/win32/dialog_template.cpp
    platform/win32/file_chooser.cpp
    platform/win32/icons.cpp
    platform/win32/modal_progress.cpp
    platform/win32/wide_text.cpp
)
target_compile_definitions(morvane_ui PRIVATE MORVANE_VERSION="${PROJECT_VERSION}")
target_include_directories(morvane_ui PUBLIC
    ${CMAKE_CURRENT_SOURCE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32
    ${PROJECT_SOURCE_DIR}
)
target_link_libraries(morvane_ui
    PUBLIC morvane_files morvane_startup comctl32 comdlg32 shell32 gdi32 user32 oleacc ole32
    PRIVATE morvane_warnings
)

add_executable(morvane WIN32 platform/win32/main.cpp ${PROJECT_SOURCE_DIR}/resources/morvane_window.rc)
target_link_libraries(morvane PRIVATE morvane_ui morvane_warnings)
