# Warnings for every target of the project (not for third-party code), for
# its C++ only: windres takes none of them.
function(quorvane_warnings target)
  set(warnings
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-qual -Wformat=2 -Wimplicit-fallthrough
    # Designated initializers leave fields at their defaults on purpose.
    -Wno-missing-field-initializers)
  if(QUORVANE_WERROR)
    list(APPEND warnings -Werror)
  endif()
  target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${warnings}>")
endfunction()
