# Packages of what cmake/install.cmake installs (Linux build only):
#   cpack -G DEB   velmora_<version>_<arch>.deb, the tree under /usr, its
#                  dependencies found by dpkg-shlibdeps from the binaries;
#   cpack -G TGZ   velmora-<version>-linux-x86_64.tar.gz, the same tree
#                  relative to the prefix (extract with -C /usr or /usr/local);
#   cpack -G ZIP   velmora-<version>-windows.zip, the plug-ins of the two
#                  Windows builds named by VELMORA_WIN32_BUILD and
#                  VELMORA_WIN64_BUILD (configured and built beforehand).
# scripts/package.sh makes all three.

set(VELMORA_WIN32_BUILD "" CACHE PATH "Built i686 Windows tree (the Windows zip takes velmora.dll from it)")
set(VELMORA_WIN64_BUILD "" CACHE PATH "Built x86_64 Windows tree (the Windows zip takes velmora64.dll, velmora.clap and velmora.vst3 from it)")
set(VELMORA_PACKAGE_MAINTAINER "Quorvane <velmora@quorvane.example>" CACHE STRING
    "Maintainer named in the Debian package")

# A package of files under one user's home folder would be no use to anyone.
if(VELMORA_USER_INSTALL)
  message(STATUS "No packages from a build configured with VELMORA_USER_INSTALL")
  return()
endif()

# Every package carries its copyright and changelog, as Debian requires;
# Debian wants the changelog compressed with the maximum level and without a
# timestamp, which gzip -9n guarantees.
configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
find_program(VELMORA_GZIP gzip REQUIRED)
execute_process(COMMAND ${VELMORA_GZIP} -9nc ${CMAKE_BINARY_DIR}/packaging/changelog
                OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION share/doc/velmora)

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "three-band distortion effect plug-in")
set(VELMORA_FORMATS_DESCRIPTION "a VST 2 plug-in and an LV2 bundle")
if(TARGET velmora_clap AND TARGET velmora_vst3)
  set(VELMORA_FORMATS_DESCRIPTION "a VST 2 plug-in, an LV2 bundle, a CLAP plug-in and a VST 3 bundle")
elseif(TARGET velmora_clap)
  set(VELMORA_FORMATS_DESCRIPTION "a VST 2 plug-in, an LV2 bundle and a CLAP plug-in")
endif()
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Velmora splits a stereo signal into low, middle and high bands and drives each\n"
  "band into one of seven distortion curves before mixing them again. This package\n"
  "holds velmora-host, a command-line host that renders audio files through VST 2\n"
  "plug-ins and shows their editors, and the effect with its X11 editor as\n"
  "${VELMORA_FORMATS_DESCRIPTION}.")
set(CPACK_GENERATOR DEB TGZ)
# Debian packages must hold stripped binaries; the Windows zip's install
# script strips with each Windows tree's own tool instead.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELMORA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Settings that differ per package, read by cpack for each generator.
set(VELMORA_LINUX_PACKAGE_FILE_NAME velmora-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(VELMORA_WINDOWS_PACKAGE_FILE_NAME velmora-${PROJECT_VERSION}-windows)
configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/windows-zip-install.cmake.in
               ${CMAKE_BINARY_DIR}/packaging/windows-zip-install.cmake @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/per-generator.cmake.in
               ${CMAKE_BINARY_DIR}/packaging/per-generator.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/packaging/per-generator.cmake)

include(CPack)
