# The hardening Debian builds its own packages with (dpkg-buildflags with
# hardening=+all): stack protector, fortified libc calls, position-independent
# executable, and the relocation table read-only before main() runs.
#
# PIE goes everywhere. The rest only in optimised builds without sanitizers:
# _FORTIFY_SOURCE does nothing without optimisation, and ASan and UBSan do
# their own, finer checking in the test build.

include(CheckPIESupported)
check_pie_supported(OUTPUT_VARIABLE NARABIN_PIE_MESSAGE LANGUAGES CXX)
if(CMAKE_CXX_LINK_PIE_SUPPORTED)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
else()
  message(WARNING "the linker cannot make a position-independent executable: ${NARABIN_PIE_MESSAGE}")
endif()

if(NARABIN_SANITIZE OR NARABIN_FUZZ OR NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" OR WIN32)
  return()
endif()

set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
string(TOUPPER "${CMAKE_BUILD_TYPE}" NARABIN_BUILD_TYPE)
set(given_flags "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${NARABIN_BUILD_TYPE}}")

# Level 2 checks a copy only into a buffer whose size is known when compiling, and
# the program has none: its copies are Qt's and the standard library's, into heap
# storage, so level 2 leaves every one unchecked. Level 3 also follows sizes known
# at run time (QHash's storage, for one). Older compilers take level 2.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   OR CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 9)
  set(NARABIN_FORTIFY_LEVEL 3)
else()
  set(NARABIN_FORTIFY_LEVEL 2)
endif()

# A packager's own choice (CXXFLAGS from dpkg-buildflags) wins; giving the macro
# twice with different values would only warn.
if(NOT given_flags MATCHES "-fstack-protector|-fno-stack-protector")
  add_compile_options("$<${optimised}:-fstack-protector-strong>")
endif()
if(NOT given_flags MATCHES "_FORTIFY_SOURCE")
  add_compile_options("$<${optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=${NARABIN_FORTIFY_LEVEL}>")
endif()
add_compile_options("$<${optimised}:-Wformat;-Werror=format-security>")

if(UNIX AND NOT APPLE)
  add_link_options("$<${optimised}:LINKER:-z,relro;LINKER:-z,now>")
endif()
