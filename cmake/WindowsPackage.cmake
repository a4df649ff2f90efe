# morvane-1.0.0.1-win64.zip: the window, the tool, the README and the
# licence, side by side, and the window's guide in guide\, as a user unpacks
# them anywhere.
install(TARGETS morvane-cli RUNTIME DESTINATION .)
if(MORVANE_BUILD_UI)
    install(TARGETS morvane RUNTIME DESTINATION .)
    install(FILES ${MORVANE_GUIDE_PAGES} DESTINATION ${MORVANE_GUIDE_DESTINATION})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
