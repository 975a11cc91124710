# Strict warnings for the project's own targets.
function(vorn_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wold-style-cast -Woverloaded-virtual -Wimplicit-fallthrough)
  if(VORN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
