# VRELLIX_DEBIAN_BUILDFLAGS: compile and link with the flags Debian builds its
# own packages with, every hardening feature on (dpkg-buildflags with
# hardening=+all: fortified functions, stack protector, read-only relocations
# bound at start-up), so the .deb is hardened like them.
option(VRELLIX_DEBIAN_BUILDFLAGS "Build with the flags of dpkg-buildflags (for the .deb)" OFF)
if(VRELLIX_DEBIAN_BUILDFLAGS AND NOT CMAKE_CROSSCOMPILING)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags)
  if(NOT DPKG_BUILDFLAGS)
    message(WARNING "No dpkg-buildflags (Debian: dpkg-dev): built without Debian's flags")
  endif()
endif()
if(VRELLIX_DEBIAN_BUILDFLAGS AND DPKG_BUILDFLAGS)
  foreach(kind IN ITEMS CPPFLAGS CXXFLAGS LDFLAGS)
    # Run in the source folder: its path becomes "." in the debug information.
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            "${DPKG_BUILDFLAGS}" --get ${kind}
                    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${flags})
    else()
      add_compile_options(${flags})
    endif()
  endforeach()
endif()
