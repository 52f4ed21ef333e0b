# Warnings for our own targets only; FFmpeg and Qt headers are included as system headers.
function(kamvist_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# kamvist_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One Qt Test executable per area, run by CTest on the offscreen platform.
function(kamvist_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  kamvist_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    TIMEOUT ${T_TIMEOUT})
endfunction()
