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

# kamvist_library(<target> FOLDER <folder under src/> SOURCES <files...> DEPENDS <targets...>)
# A static library that exposes only the headers of its own folder, under their
# "<folder>/<name>.h" include path. A library reaches the headers of exactly the
# libraries it depends on, so an include against the layering fails to build.
function(kamvist_library target)
  cmake_parse_arguments(L "" "FOLDER" "SOURCES;DEPENDS" ${ARGN})
  add_library(${target} STATIC ${L_SOURCES})
  set(source_folder ${PROJECT_SOURCE_DIR}/src/${L_FOLDER})
  set(exposed_root ${CMAKE_BINARY_DIR}/include/${target})
  file(GLOB headers RELATIVE ${source_folder} CONFIGURE_DEPENDS ${source_folder}/*.h)
  file(REMOVE_RECURSE ${exposed_root})
  file(MAKE_DIRECTORY ${exposed_root}/${L_FOLDER})
  foreach(header IN LISTS headers)
    file(CREATE_LINK ${source_folder}/${header} ${exposed_root}/${L_FOLDER}/${header} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${exposed_root})
  target_link_libraries(${target} PUBLIC ${L_DEPENDS})
  kamvist_warnings(${target})
endfunction()
