# Targets holding Japanese literals keep them as code page 932 bytes. Clang
# converts to UTF-8 only: it compiles copies of the target's sources (call
# this after they are all added) whose ordinary literals spell the code page
# 932 bytes as octal escapes.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
endif()
function(pidview_cp932 target)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
    return()
  endif()
  set(script ${PROJECT_SOURCE_DIR}/cmake/cp932_literals.py)
  get_target_property(sources ${target} SOURCES)
  get_target_property(sourceDir ${target} SOURCE_DIR)
  set(converted)
  set(includeDirs)
  foreach(source IN LISTS sources)
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${sourceDir})
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${path})
    string(FIND "${path}" "${PROJECT_BINARY_DIR}/" inBuildTree)
    if(NOT source MATCHES "\\.(cpp|cc|cxx)$" OR relative MATCHES "^\\.\\." OR inBuildTree EQUAL 0)
      list(APPEND converted ${source})
      continue()
    endif()
    set(copy ${CMAKE_CURRENT_BINARY_DIR}/${target}_cp932/${relative})
    get_filename_component(copyDir ${copy} DIRECTORY)
    file(MAKE_DIRECTORY ${copyDir})
    add_custom_command(OUTPUT ${copy}
      COMMAND ${Python3_EXECUTABLE} ${script} ${path} ${copy}
      DEPENDS ${path} ${script}
      COMMENT "Code page 932 literals of ${relative}"
      VERBATIM)
    list(APPEND converted ${copy})
    # The copy's own #include "..." still finds the original's neighbours.
    get_filename_component(dir ${path} DIRECTORY)
    list(APPEND includeDirs "-iquote${dir}")
  endforeach()
  list(REMOVE_DUPLICATES includeDirs)
  set_property(TARGET ${target} PROPERTY SOURCES ${converted})
  target_compile_options(${target} PRIVATE -finput-charset=UTF-8 ${includeDirs})
endfunction()
