# Debian's hardening flags in every target: fortify, the strong stack
# protector, format checks, relro and bindnow (PIE is the compilers' default
# on Debian). They are read from dpkg-buildflags with all hardening features
# on, so a Debian build (DEB_BUILD_MAINT_OPTIONS, DEB_CXXFLAGS_APPEND, ...)
# gets exactly what dpkg would give it; without dpkg-buildflags the same
# flags are set by hand. Sets ORVANTA_HARDENED to tell whether they apply.
#
# Not in the sanitizer and fuzz builds: AddressSanitizer does not see into
# the fortified functions (__memcpy_chk and the like), so fortify would hide
# the very overflows those builds are for; the stack protector would only
# repeat what AddressSanitizer checks.
# Optimization and debug info stay with CMAKE_BUILD_TYPE; _FORTIFY_SOURCE only
# works on optimized code, so a Debug build leaves it out.
option(ORVANTA_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)

set(ORVANTA_HARDENED OFF)
if(NOT ORVANTA_HARDENING OR ORVANTA_SANITIZE OR ORVANTA_FUZZ)
  return()
endif()
set(ORVANTA_HARDENED ON)

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS)
  set(maint_options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
  if(maint_options STREQUAL "")
    set(maint_options "hardening=+all")
  endif()
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=${maint_options}"
                            ${DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(hardening_${kind} UNIX_COMMAND "${flags}")
  endforeach()
else()
  set(hardening_CPPFLAGS -D_FORTIFY_SOURCE=2)
  set(hardening_CXXFLAGS -fstack-protector-strong -Wformat -Werror=format-security)
  set(hardening_LDFLAGS -Wl,-z,relro -Wl,-z,now)
endif()

set(applied)
foreach(flag IN LISTS hardening_CPPFLAGS hardening_CXXFLAGS)
  if(flag MATCHES "^-O|^-g|^-ffile-prefix-map=|^-fdebug-prefix-map=")
    # The build type's, and a prefix map of whatever folder CMake ran in.
    continue()
  elseif(flag MATCHES "^-D_FORTIFY_SOURCE")
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
  else()
    add_compile_options(${flag})
  endif()
  list(APPEND applied ${flag})
endforeach()
add_link_options(${hardening_LDFLAGS})
list(APPEND applied ${hardening_LDFLAGS})
list(JOIN applied " " applied)
message(STATUS "Hardening: ${applied}")
