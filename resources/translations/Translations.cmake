# The window's translations: one Qt Linguist file a language, beside this
# file. The build brings a copy of each up to date with the texts the code
# marks (lupdate), refuses one that leaves a text untranslated, and makes
# what each system reads: Qt's .qm files, built into the program, on Linux; a
# C++ table on Windows.
set(MORVANE_LANGUAGES de fr es pt_BR ru ja zh_CN)

find_program(MORVANE_LUPDATE lupdate HINTS /usr/lib/qt6/bin REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(translations_folder ${PROJECT_SOURCE_DIR}/resources/translations)
set(translations_tool ${translations_folder}/translations.py)
file(GLOB_RECURSE translated_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/ui/*.cpp ${PROJECT_SOURCE_DIR}/ui/*.h
    ${PROJECT_SOURCE_DIR}/resources/*.cpp)

# The checked copy of each language's file; a copy that fails the check is
# not kept, so that the next build checks it again.
function(morvane_checked_translations out_files)
    set(checked_files)
    foreach(language ${MORVANE_LANGUAGES})
        set(source ${translations_folder}/morvane_${language}.ts)
        set(checked ${CMAKE_CURRENT_BINARY_DIR}/translations/morvane_${language}.ts)
        set(unchecked ${CMAKE_CURRENT_BINARY_DIR}/translations/unchecked/morvane_${language}.ts)
        add_custom_command(OUTPUT ${checked}
            COMMAND ${CMAKE_COMMAND} -E copy ${source} ${unchecked}
            COMMAND ${MORVANE_LUPDATE} -silent -no-obsolete -locations none
                -tr-function-alias translate+=Tr,QT_TRANSLATE_NOOP+=MORVANE_TRANSLATABLE
                ${PROJECT_SOURCE_DIR}/ui ${PROJECT_SOURCE_DIR}/resources -ts ${unchecked}
            COMMAND ${Python3_EXECUTABLE} ${translations_tool} check ${unchecked}
            COMMAND ${CMAKE_COMMAND} -E rename ${unchecked} ${checked}
            DEPENDS ${source} ${translated_sources} ${translations_tool}
            COMMENT "Checking the ${language} translation"
            VERBATIM)
        list(APPEND checked_files ${checked})
    endforeach()
    set(${out_files} ${checked_files} PARENT_SCOPE)
endfunction()

# Gives the target the translations as its system reads them.
function(morvane_add_translations target)
    morvane_checked_translations(checked_files)
    if(WIN32)
        set(table ${CMAKE_CURRENT_BINARY_DIR}/translations/translation_table.cpp)
        add_custom_command(OUTPUT ${table}
            COMMAND ${Python3_EXECUTABLE} ${translations_tool} table ${table} ${checked_files}
            DEPENDS ${checked_files} ${translations_tool}
            VERBATIM)
        target_sources(${target} PRIVATE ${table})
        return()
    endif()
    find_program(MORVANE_LRELEASE lrelease HINTS /usr/lib/qt6/bin REQUIRED)
    set(qm_files)
    foreach(checked ${checked_files})
        get_filename_component(name ${checked} NAME_WE)
        set(qm ${CMAKE_CURRENT_BINARY_DIR}/translations/${name}.qm)
        add_custom_command(OUTPUT ${qm}
            COMMAND ${MORVANE_LRELEASE} -silent ${checked} -qm ${qm}
            DEPENDS ${checked}
            VERBATIM)
        list(APPEND qm_files ${qm})
    endforeach()
    qt_add_resources(${target} morvane_translations PREFIX /translations
        BASE ${CMAKE_CURRENT_BINARY_DIR}/translations FILES ${qm_files})
endfunction()
