# Warnings for our own targets only; third-party headers come in as SYSTEM. The sanitizer
# builds, which ./test runs, treat them as errors, so none slips in unnoticed.
function(voka_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
  if(VOKA_ASAN OR VOKA_TSAN)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
