# The flags Debian builds its packages with, from dpkg-buildflags with every
# hardening feature on: fortified string and memory functions, a strong stack
# protector, relocations made read-only and bound at start-up. They come on
# top of the build type's own flags; the package uses the build type None, as
# debhelper does, so that dpkg-buildflags alone chooses the optimisation.
option(VV_DEBIAN_FLAGS "Build with dpkg-buildflags' flags, as the Debian package is" OFF)
if(NOT VV_DEBIAN_FLAGS)
    return()
endif()

find_program(VV_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT VV_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "VV_DEBIAN_FLAGS needs dpkg-buildflags (apt-get install dpkg-dev)")
endif()

function(vv_debian_flags variable out)
    # Run in the source folder: its -ffile-prefix-map then maps the source
    # paths written into the programs to ".", whichever folder builds them.
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${VV_DPKG_BUILDFLAGS} --get ${variable}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    set(${out} "${flags}" PARENT_SCOPE)
endfunction()

vv_debian_flags(CXXFLAGS vv_cxxflags)
vv_debian_flags(CPPFLAGS vv_cppflags)
vv_debian_flags(LDFLAGS vv_ldflags)
# Set over the cached values rather than into them, so a second configure run
# does not add them twice.
set(CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS} ${vv_cppflags} ${vv_cxxflags}")
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} ${vv_ldflags}")
set(CMAKE_SHARED_LINKER_FLAGS "${CMAKE_SHARED_LINKER_FLAGS} ${vv_ldflags}")
set(CMAKE_MODULE_LINKER_FLAGS "${CMAKE_MODULE_LINKER_FLAGS} ${vv_ldflags}")
message(STATUS "dpkg-buildflags: ${vv_cppflags} ${vv_cxxflags} | ${vv_ldflags}")
