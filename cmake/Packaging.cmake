# Installation and packages.
#
# Two layouts, as install components:
#   program   the Debian layout, relative to the prefix "/": the program in
#             opt/kamvist, /usr/bin/kamvist, the menu entry, icon and metainfo.
#             The catalogue, the settings file and zpjpg/ are not package files:
#             the package's postinst makes them where they are missing.
#   portable  a folder that runs where it is unpacked, like the build's bin/:
#             the program, an empty catalogue in dat/ and zpjpg/. Installed only
#             when asked for by name (cmake --install <build> --component portable).
#
#   DESTDIR=<stage> cmake --install <build> --prefix /     the Debian layout
#   cpack --config <build>/CPackConfig.cmake               kamvist_<version>_<arch>.deb
#                                                          and kamvist-<version>-Linux.tar.gz

set(KAMVIST_PACKAGE_VERSION "" CACHE STRING
    "Version of the packages; empty means the project version")
if(KAMVIST_PACKAGE_VERSION)
  set(kamvist_package_version ${KAMVIST_PACKAGE_VERSION})
else()
  set(kamvist_package_version ${PROJECT_VERSION})
endif()

set(KAMVIST_APP_DIR /opt/kamvist)   # absolute, as the package installs it
set(KAMVIST_GROUP video)            # the operators' group
set(KAMVIST_APP_ID org.kamvist.kamvist)
string(REGEX REPLACE "^/" "" app_dir ${KAMVIST_APP_DIR})
set(packaging_source ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_build ${CMAKE_BINARY_DIR}/packaging)

# --- the Debian layout ---------------------------------------------------------

install(TARGETS Kamvist RUNTIME DESTINATION ${app_dir} COMPONENT program)
install(TARGETS kamvist-make-catalogue RUNTIME DESTINATION ${app_dir}/libexec COMPONENT program)

# Relative, so that it also holds in a staging folder.
file(MAKE_DIRECTORY ${packaging_build})
file(CREATE_LINK ../../${app_dir}/Kamvist ${packaging_build}/kamvist SYMBOLIC)
install(FILES ${packaging_build}/kamvist DESTINATION usr/bin COMPONENT program)

install(FILES ${packaging_source}/${KAMVIST_APP_ID}.desktop
        DESTINATION usr/share/applications COMPONENT program)
install(FILES ${packaging_source}/${KAMVIST_APP_ID}.svg
        DESTINATION usr/share/icons/hicolor/scalable/apps COMPONENT program)
install(FILES ${packaging_source}/${KAMVIST_APP_ID}.metainfo.xml
        DESTINATION usr/share/metainfo COMPONENT program)
install(FILES ${packaging_source}/README.Debian
        DESTINATION usr/share/doc/kamvist COMPONENT program)

foreach(script postinst postrm)
  configure_file(${packaging_source}/${script}.in ${packaging_build}/${script} @ONLY)
endforeach()

# --- the portable folder -------------------------------------------------------

install(TARGETS Kamvist RUNTIME DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)
install(DIRECTORY DESTINATION zpjpg COMPONENT portable EXCLUDE_FROM_ALL)
# The tool leaves a catalogue that is already there alone.
install(CODE "execute_process(
                COMMAND \"$<TARGET_FILE:kamvist-make-catalogue>\"
                        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/dat/dzxcb.db\"
                COMMAND_ERROR_IS_FATAL ANY)"
        COMPONENT portable EXCLUDE_FROM_ALL)

# --- packages ------------------------------------------------------------------

set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_NAME kamvist)
set(CPACK_PACKAGE_VERSION ${kamvist_package_version})
set(CPACK_PACKAGE_CONTACT "Kamvist developers <kamvist@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video surveillance with one to four USB cameras")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
# Chooses the install component per package (packaging/CPackGenerators.cmake).
set(CPACK_PROJECT_CONFIG_FILE ${packaging_source}/CPackGenerators.cmake)
set(CPACK_KAMVIST_DEB_PROJECT "${CMAKE_BINARY_DIR};Kamvist;program;/")
set(CPACK_KAMVIST_PORTABLE_PROJECT "${CMAKE_BINARY_DIR};Kamvist;portable;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the catalogue driver,
# the platform plugins, the face for the Chinese texts, the desktop opener.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, qt6-qpa-plugins, fonts-wqy-zenhei, xdg-utils")
# Its first line comes from CPACK_PACKAGE_DESCRIPTION_SUMMARY.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Kamvist shows one to four USB cameras live in one window, records each of them
without pause into MPEG files that start anew every 100 minutes, keeps a
catalogue of the recordings and deletes the oldest ones when the disk runs low.

Operators are the members of group ${KAMVIST_GROUP}. Removing or purging the
package leaves the settings file, the catalogue, the snapshots and every
recording in ${KAMVIST_APP_DIR}; see README.Debian.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${packaging_build}/postinst ${packaging_build}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
