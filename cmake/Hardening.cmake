# The distribution's hardening flags (dpkg-buildflags: _FORTIFY_SOURCE, stack protector, full RELRO,
# bind-now; PIE is the compiler's default) for what is shipped: the libraries and the programs of
# every optimised build that is not instrumented (tablix_harden, below). The sanitizer and fuzzing
# builds keep their own flags; _FORTIFY_SOURCE needs optimisation.
option(TABLIX_HARDENING "Build with dpkg-buildflags' hardening flags" ON)
set(TABLIX_HARDENING_COMPILE)
set(TABLIX_HARDENING_LDFLAGS)
function(tablix_harden)
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE ${TABLIX_HARDENING_COMPILE})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_link_options(${target} PRIVATE ${TABLIX_HARDENING_LDFLAGS})
    endif()
  endforeach()
endfunction()
if(NOT TABLIX_HARDENING OR TABLIX_SANITIZE OR TABLIX_FUZZ OR NOT CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  return()
endif()
find_program(TABLIX_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT TABLIX_DPKG_BUILDFLAGS)
  message(WARNING "dpkg-buildflags not found (package dpkg-dev): building without hardening flags")
  return()
endif()

function(tablix_buildflags variable out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                          ${TABLIX_DPKG_BUILDFLAGS} --get ${variable}
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  # The build type chooses optimisation and debug information.
  list(FILTER flags EXCLUDE REGEX "^-(O[0-9s]?|g[0-9]?)$")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

tablix_buildflags(CPPFLAGS TABLIX_HARDENING_CPPFLAGS)
tablix_buildflags(CXXFLAGS TABLIX_HARDENING_CXXFLAGS)
tablix_buildflags(LDFLAGS TABLIX_HARDENING_LDFLAGS)
set(TABLIX_HARDENING_COMPILE ${TABLIX_HARDENING_CPPFLAGS} ${TABLIX_HARDENING_CXXFLAGS})
message(STATUS "Hardening: ${TABLIX_HARDENING_COMPILE} ${TABLIX_HARDENING_LDFLAGS}")
