# Installs like a desktop program (cmake --install, prefix /usr or /usr/local), and makes the
# Debian package: make deb.
include(GNUInstallDirs)
set(BRENLOW_HOMEPAGE "https://brenlow.veltmark.example" CACHE STRING "The project's home page")

install(TARGETS brenlow-dump brenlow-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET brenlow)
    install(TARGETS brenlow RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES res/brenlow.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# Icon 128 from the window's own pixel tables, at the three sizes menus ask for.
set(generated ${CMAKE_BINARY_DIR}/share)
foreach(icon "16;kRadarIcon16;1" "32;kRadarIcon32;1" "48;kRadarIcon16;3")
    list(GET icon 0 size)
    list(GET icon 1 table)
    list(GET icon 2 scale)
    set(png ${generated}/icons/${size}/brenlow.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
        COMMAND python3 ${CMAKE_SOURCE_DIR}/res/make-icon ${CMAKE_SOURCE_DIR}/res/Icons.cpp
                ${png} ${table} ${scale}
        DEPENDS ${CMAKE_SOURCE_DIR}/res/make-icon ${CMAKE_SOURCE_DIR}/res/Icons.cpp VERBATIM)
    list(APPEND share_files ${png})
    install(FILES ${png}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

configure_file(res/brenlow.metainfo.xml.in ${generated}/com.veltmark.brenlow.metainfo.xml @ONLY)
install(FILES ${generated}/com.veltmark.brenlow.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages: the window's by hand, the tools' from their --help.
set(man ${generated}/man)
add_custom_command(OUTPUT ${man}/brenlow.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/res/brenlow.1 > ${man}/brenlow.1.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/res/brenlow.1)
list(APPEND share_files ${man}/brenlow.1.gz)
set(brenlow-dump_what "decode AIS NMEA sentences to JSON lines")
set(brenlow-sim_what "simulate the AIS traffic of a receiver")
foreach(tool brenlow-dump brenlow-sim)
    add_custom_command(OUTPUT ${man}/${tool}.1.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
        COMMAND help2man --no-info --version-string=${PROJECT_VERSION} "--name=${${tool}_what}"
                -o ${man}/${tool}.1 $<TARGET_FILE:${tool}>
        COMMAND gzip -9nf ${man}/${tool}.1
        DEPENDS ${tool})
    list(APPEND share_files ${man}/${tool}.1.gz)
endforeach()
add_custom_target(brenlow_share ALL DEPENDS ${share_files})
install(FILES ${man}/brenlow.1.gz ${man}/brenlow-dump.1.gz ${man}/brenlow-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

add_custom_command(OUTPUT ${generated}/changelog.Debian.gz
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/res/changelog > ${generated}/changelog.Debian.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/res/changelog)
add_custom_target(brenlow_changelog ALL DEPENDS ${generated}/changelog.Debian.gz)
install(FILES res/copyright ${generated}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brenlow)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brenlow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Veltmark <brenlow@veltmark.example>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BRENLOW_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monitor for a marine AIS receiver on a serial port")
set(CPACK_PACKAGE_DESCRIPTION "Brenlow lists every NMEA line an AIS receiver sends on its serial
port, newest first, decodes AIS position reports (messages 1, 2 and 3) and
static and voyage data (message 5), and shows the own vessel and the station
heard last in one window. Its five port settings are kept per user.

brenlow-dump decodes NMEA files or a live port to JSON lines; brenlow-sim
simulates AIS traffic on a pseudo-terminal.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME "brenlow_${PROJECT_VERSION}-1_amd64")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_SOURCE_DIR}/dist)
include(CPack)
