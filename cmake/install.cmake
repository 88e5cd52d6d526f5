# Where `cmake --install` puts each product. Rules name targets, not source
# folders, so they hold wherever the sources live; included after every
# subdirectory so that each target named here already exists.
#
# Linux, under the prefix (default /usr/local; the packages use /usr):
#   lib/vst/velmora.so, lib/lv2/velmora.lv2/, lib/clap/velmora.clap,
#   lib/vst3/velmora.vst3/Contents/x86_64-linux/velmora.so, bin/velmora-host,
#   share/doc/velmora/ (copyright and changelog, from packaging.cmake).
# With -DVELMORA_USER_INSTALL=ON the plug-ins go where hosts look for the
# current user's plug-ins without configuration (~/.vst, ~/.lv2, ~/.clap, ~/.vst3)
# and velmora-host in ~/.local/bin.
#
# Windows: the plug-in DLLs (and the 64-bit build's velmora.clap, its
# velmora.vst3 bundle folder and INSTALL.txt) at the top of the prefix: the
# layout of the Windows zip.

# velmora_products builds exactly what is installed (scripts/package.sh
# builds it in the Windows trees, whose "all" holds the tests too).
add_custom_target(velmora_products)

if(WIN32)
  install(TARGETS velmora LIBRARY DESTINATION .)
  add_dependencies(velmora_products velmora)
  # Both builds fill one zip: only the 64-bit one adds velmora.clap and the
  # text with the install steps.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VELMORA_ZIP_CLAP_LINE "")
    set(VELMORA_ZIP_CLAP_STEPS "")
    if(TARGET velmora_clap)
      install(TARGETS velmora_clap LIBRARY DESTINATION .)
      add_dependencies(velmora_products velmora_clap)
      set(VELMORA_ZIP_CLAP_LINE "  velmora.clap    the CLAP plug-in for 64-bit hosts\n")
      string(CONCAT VELMORA_ZIP_CLAP_STEPS
        "\nInstalling the CLAP plug-in\n"
        "---------------------------\n\n"
        "Copy velmora.clap into C:\\Program Files\\Common Files\\CLAP (make the\n"
        "folder if it is missing), or for your user only into\n"
        "%LOCALAPPDATA%\\Programs\\Common\\CLAP, then rescan in the host.\n")
    endif()
    set(VELMORA_ZIP_VST3_LINE "")
    set(VELMORA_ZIP_VST3_STEPS "")
    if(TARGET velmora_vst3)
      install(TARGETS velmora_vst3 LIBRARY DESTINATION velmora.vst3/Contents/x86_64-win
              RUNTIME DESTINATION velmora.vst3/Contents/x86_64-win)
      add_dependencies(velmora_products velmora_vst3)
      set(VELMORA_ZIP_VST3_LINE "  velmora.vst3    the VST 3 plug-in for 64-bit hosts (a folder)\n")
      string(CONCAT VELMORA_ZIP_VST3_STEPS
        "\nInstalling the VST 3 plug-in\n"
        "----------------------------\n\n"
        "Copy the whole velmora.vst3 folder into C:\\Program Files\\Common Files\\VST3,\n"
        "where every VST 3 host looks, then rescan in the host.\n")
    endif()
    # Notepad on older Windows shows a file without CR as a single line. The
    # second pass converts every line, the inserted ones too.
    configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/windows-install.txt.in
                   ${CMAKE_BINARY_DIR}/packaging/INSTALL.lf.txt @ONLY)
    configure_file(${CMAKE_BINARY_DIR}/packaging/INSTALL.lf.txt
                   ${CMAKE_BINARY_DIR}/packaging/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/INSTALL.txt DESTINATION .)
  endif()
  return()
endif()

option(VELMORA_USER_INSTALL
       "Install the plug-ins for the current user (~/.vst, ~/.lv2, ~/.clap, ~/.vst3) and velmora-host in ~/.local/bin"
       OFF)
if(VELMORA_USER_INSTALL)
  # Absolute destinations: the prefix does not apply, DESTDIR still does.
  set(VELMORA_VST_DESTINATION $ENV{HOME}/.vst)
  set(VELMORA_LV2_DESTINATION $ENV{HOME}/.lv2)
  set(VELMORA_CLAP_DESTINATION $ENV{HOME}/.clap)
  set(VELMORA_VST3_DESTINATION $ENV{HOME}/.vst3)
  set(VELMORA_BIN_DESTINATION $ENV{HOME}/.local/bin)
else()
  # Plug-in folders are lib/<format> on every distribution, not the
  # multiarch library folder: hosts search exactly these names.
  set(VELMORA_VST_DESTINATION lib/vst)
  set(VELMORA_LV2_DESTINATION lib/lv2)
  set(VELMORA_CLAP_DESTINATION lib/clap)
  set(VELMORA_VST3_DESTINATION lib/vst3)
  set(VELMORA_BIN_DESTINATION bin)
endif()

# Folders made by the install are world-readable whatever the umask, as
# packages require.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS velmora LIBRARY DESTINATION ${VELMORA_VST_DESTINATION})

# The bundle as the build assembles it: both binaries and the generated Turtle files.
set(VELMORA_LV2_BUNDLE_DESTINATION ${VELMORA_LV2_DESTINATION}/velmora.lv2)
install(TARGETS velmora_lv2 velmora_lv2_ui LIBRARY DESTINATION ${VELMORA_LV2_BUNDLE_DESTINATION})
install(FILES ${VELMORA_LV2_BUNDLE}/manifest.ttl ${VELMORA_LV2_BUNDLE}/velmora.ttl ${VELMORA_LV2_BUNDLE}/presets.ttl
        DESTINATION ${VELMORA_LV2_BUNDLE_DESTINATION})

if(TARGET velmora_clap)
  install(TARGETS velmora_clap LIBRARY DESTINATION ${VELMORA_CLAP_DESTINATION})
  add_dependencies(velmora_products velmora_clap)
endif()

# The bundle folder hosts look for, with the module for this system inside.
if(TARGET velmora_vst3)
  install(TARGETS velmora_vst3
          LIBRARY DESTINATION ${VELMORA_VST3_DESTINATION}/velmora.vst3/Contents/${CMAKE_SYSTEM_PROCESSOR}-linux)
  add_dependencies(velmora_products velmora_vst3)
endif()

install(TARGETS velmora-host RUNTIME DESTINATION ${VELMORA_BIN_DESTINATION})
add_dependencies(velmora_products velmora velmora_lv2 velmora_lv2_ui velmora-host)

include(${CMAKE_CURRENT_LIST_DIR}/packaging.cmake)
