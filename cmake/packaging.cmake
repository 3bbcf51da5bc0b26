# What a person installs. On Linux the program with its desktop entry, icons
# and AppStream data, packed as a .deb by `cpack -G DEB` from this build
# (into build/packages/). For Windows an NSIS installer of quorvane.exe:
# `cmake --build <build> --target windows_installer`.
if(NOT TARGET quorvane)
  return()
endif()
include(GNUInstallDirs)

set(linux_files ${PROJECT_SOURCE_DIR}/packaging/linux)

if(NOT WIN32)
  install(TARGETS quorvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${linux_files}/${QUORVANE_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${linux_files}/${QUORVANE_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(png ${rendered_pngs})
    get_filename_component(size_dir ${png} DIRECTORY)
    get_filename_component(size_dir ${size_dir} NAME)
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size_dir}/apps)
  endforeach()

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME quorvane)
  set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
  set(CPACK_PACKAGE_CONTACT "The Quorvane developers <quorvane@users.invalid>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "tray monitor of temperatures and load, with timed shutdown")
  string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quorvane sits in the notification area and watches CPU temperature, disk\n"
    "temperature, CPU load and memory load. It warns when a reading reaches its\n"
    "limit, can shut the machine down after a cancellable countdown when a\n"
    "temperature stays too high, and carries out timed power actions and\n"
    "reminders. The interface is Chinese.")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # The libraries' packages come from dpkg-shlibdeps. Beside them: a face
  # with the Chinese glyphs of the whole interface, and Qt's X11 platform
  # plugin, which no library's package brings. Wayland's plugin and the
  # narrow faces of the tray number are welcome but not needed to start.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-urw-base35 | fonts-dejavu-extra")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "udisks2")
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
  include(CPack)
endif()

# The Windows installer: a Windows build packs its own quorvane.exe, any
# other build the one QUORVANE_WIN_EXE names.
if(WIN32)
  set(QUORVANE_WIN_EXE $<TARGET_FILE:quorvane>)
else()
  set(QUORVANE_WIN_EXE "${PROJECT_SOURCE_DIR}/build-win/src/quorvane.exe" CACHE FILEPATH
    "quorvane.exe of a Windows build, for the NSIS installer")
endif()
find_program(MAKENSIS makensis)
if(MAKENSIS)
  set(installer_icon)
  if(windows_icon)
    set(installer_icon -DICON=${windows_icon})
  endif()
  # Packed without its debugging data.
  set(packed_exe ${CMAKE_BINARY_DIR}/packages/windows/quorvane.exe)
  find_program(MINGW_STRIP x86_64-w64-mingw32-strip)
  set(strip_exe)
  if(MINGW_STRIP)
    set(strip_exe COMMAND ${MINGW_STRIP} ${packed_exe})
  endif()
  add_custom_target(windows_installer
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packages/windows
    COMMAND ${CMAKE_COMMAND} -E copy ${QUORVANE_WIN_EXE} ${packed_exe}
    ${strip_exe}
    COMMAND ${MAKENSIS} -V2 -WX -INPUTCHARSET UTF8 -DEXE=${packed_exe} -DVERSION=${PROJECT_VERSION}
      -DOUTFILE=${CMAKE_BINARY_DIR}/packages/quorvane-${PROJECT_VERSION}-setup.exe
      ${installer_icon} ${PROJECT_SOURCE_DIR}/packaging/windows/quorvane.nsi
    VERBATIM)
  if(TARGET app_icons)
    add_dependencies(windows_installer app_icons)
  endif()
endif()
