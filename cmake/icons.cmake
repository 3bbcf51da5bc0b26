# The application's icon, rendered from the one drawing in packaging/linux/:
# the PNG sizes of the Linux package and icons/quorvane.ico, which the
# Windows program carries as a resource and the installer shows. Sets
# QUORVANE_APP_ID, icon_svg, rendered_pngs and windows_icon (empty without
# the tools).

# One name for the desktop entry, the AppStream component and the icon, and
# the Wayland app id the program gives its windows (qt_main.cpp): desktops
# find the entry, and with it the icon, by that name.
set(QUORVANE_APP_ID org.quorvane.Quorvane)
set(icon_svg ${PROJECT_SOURCE_DIR}/packaging/linux/${QUORVANE_APP_ID}.svg)

find_program(RSVG_CONVERT rsvg-convert)
find_program(IMAGEMAGICK_CONVERT convert)
set(rendered_pngs)
set(windows_icon)
if(RSVG_CONVERT)
  foreach(size 16 22 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${QUORVANE_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg}
      DEPENDS ${icon_svg} VERBATIM)
    list(APPEND rendered_pngs ${png})
  endforeach()
  if(IMAGEMAGICK_CONVERT)
    set(windows_icon ${CMAKE_BINARY_DIR}/icons/quorvane.ico)
    set(ico_sizes ${rendered_pngs})
    list(FILTER ico_sizes INCLUDE REGEX "/(16|24|32|48|64|256)x")
    add_custom_command(OUTPUT ${windows_icon}
      COMMAND ${IMAGEMAGICK_CONVERT} ${ico_sizes} ${windows_icon}
      DEPENDS ${ico_sizes} VERBATIM)
  endif()
  add_custom_target(app_icons ALL DEPENDS ${rendered_pngs} ${windows_icon})
else()
  message(STATUS "rsvg-convert not found (librsvg2-bin): no PNG icons, no Windows icon")
endif()
