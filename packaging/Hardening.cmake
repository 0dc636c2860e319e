# Debian's hardening flags, as dpkg-buildflags hands them to every package it
# builds: stack protector, fortify, relro and bindnow (PIE is the compiler's
# own default there). On by default in a Release build, the one the package
# is made from; the sanitizer builds (Debug) and the fuzz build bring their
# own instrumentation and stay without them.
find_program(TRAM_DPKG_BUILDFLAGS dpkg-buildflags)
set(tram_hardening_default OFF)
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT TRAM_FUZZ AND TRAM_DPKG_BUILDFLAGS)
  set(tram_hardening_default ON)
endif()
option(TRAM_HARDENING "Build with Debian's hardening flags from dpkg-buildflags" ${tram_hardening_default})

if(TRAM_HARDENING)
  if(NOT TRAM_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "TRAM_HARDENING needs dpkg-buildflags (Debian package dpkg-dev); "
                        "install it or configure with -DTRAM_HARDENING=OFF")
  endif()
  # bindnow is not among Debian's defaults; +all asks for every hardening
  # feature. -g and -O2 are left out: the build type chooses optimisation and
  # debug information, and coming after its flags they would override them.
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              "DEB_CXXFLAGS_MAINT_STRIP=-g -O2" ${TRAM_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
      COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${flags})
    else()
      add_compile_options(${flags})
    endif()
  endforeach()
endif()
