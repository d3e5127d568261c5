# The zip for Windows users: the two programs and a short README, in one folder. Making it
# builds only what it holds, not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS brenlow-dump RUNTIME DESTINATION .)
if(TARGET brenlow)
    install(TARGETS brenlow RUNTIME DESTINATION .)
endif()
install(FILES res/README-Windows.txt DESTINATION . RENAME README.txt)
# The installer, beside the zip.
if(TARGET brenlow)
    set(setup ${CMAKE_SOURCE_DIR}/dist/Brenlow-${PROJECT_VERSION}-setup.exe)
    add_custom_command(OUTPUT ${setup}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_SOURCE_DIR}/dist
        COMMAND makensis -V2 -DVERSION=${PROJECT_VERSION} -DBUILD=${CMAKE_BINARY_DIR}
                -DSOURCE=${CMAKE_SOURCE_DIR} -DOUTFILE=${setup} ${CMAKE_SOURCE_DIR}/res/brenlow.nsi
        DEPENDS brenlow brenlow-dump ${CMAKE_SOURCE_DIR}/res/brenlow.nsi
                ${CMAKE_SOURCE_DIR}/res/README-Windows.txt
        VERBATIM)
    add_custom_target(brenlow_setup ALL DEPENDS ${setup})
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME "Brenlow-${PROJECT_VERSION}-win64")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_SOURCE_DIR}/dist)
include(CPack)
