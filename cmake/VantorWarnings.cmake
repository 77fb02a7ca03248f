# Warnings for the project's own targets; CI turns them into errors.
option(VANTOR_WERROR "Treat compiler warnings as errors" OFF)

function(vantor_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${VANTOR_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                           $<$<BOOL:${VANTOR_WERROR}>:-Werror>)
  endif()
endfunction()
