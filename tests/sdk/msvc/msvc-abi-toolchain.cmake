# A Visual Studio-style toolchain for a host project built here: clang
# compiling for Microsoft's ABI and lld-link linking. Microsoft's headers,
# libraries and C runtime are not at hand, so mingw-w64's stand in: its
# headers as system headers, its import libraries for the Windows SDK's, and
# its C runtime (msvcrt.dll) for Microsoft's.
#   NOXD_MSVC_ARCH    i686 or x86_64
#   NOXD_MSVC_DRIVER  clang-cl: MSVC's command line (CMake sets MSVC);
#                     clang: clang's own for *-windows-msvc (CMake sets
#                     only CMAKE_<LANG>_SIMULATE_ID to MSVC)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${NOXD_MSVC_ARCH})
# Also in the projects CMake's checks of the compiler make.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES NOXD_MSVC_ARCH NOXD_MSVC_DRIVER)

include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/llvm_tools.cmake)
noxd_find_llvm_tool(NOXD_MSVC_COMPILER ${NOXD_MSVC_DRIVER} REQUIRED)
noxd_find_llvm_tool(NOXD_LLD_LINK lld-link REQUIRED)
set(CMAKE_C_COMPILER ${NOXD_MSVC_COMPILER})
set(CMAKE_CXX_COMPILER ${NOXD_MSVC_COMPILER})
set(CMAKE_LINKER ${NOXD_LLD_LINK})
if(NOXD_MSVC_ARCH STREQUAL i686)
    set(CMAKE_C_COMPILER_TARGET i686-pc-windows-msvc)
else()
    set(CMAKE_C_COMPILER_TARGET x86_64-pc-windows-msvc)
endif()
set(CMAKE_CXX_COMPILER_TARGET ${CMAKE_C_COMPILER_TARGET})

set(mingw /usr/${NOXD_MSVC_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH ${mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
execute_process(COMMAND ${NOXD_MSVC_ARCH}-w64-mingw32-gcc-posix -print-libgcc-file-name
                OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

# Warnings as errors at warning level 4 (what clang-cl's /W4 is for clang).
# mingw-w64's headers take their compiler-specific paths by __GNUC__, which
# clang leaves undefined for Microsoft's ABI, and expect _X86_ from the
# compiler, as gcc defines it. The stack cookie's checks belong to
# Microsoft's runtime.
if(NOXD_MSVC_DRIVER STREQUAL clang-cl)
    set(flags "/W4 /WX /GS- -Xclang -fgnuc-version=4.2.1 /imsvc ${mingw}/include")
else()
    set(flags "-Wall -Wextra -Werror -fgnuc-version=4.2.1 -isystem ${mingw}/include")
endif()
# mingw-w64's start-up code names the image's base as GNU ld does, and its
# objects carry no safe exception handler table.
if(NOXD_MSVC_ARCH STREQUAL i686)
    string(APPEND flags " -D_X86_")
    set(link_flags /safeseh:no /alternatename:__image_base__=___ImageBase)
else()
    set(link_flags /alternatename:__image_base__=__ImageBase)
endif()
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT "${flags}")
# mingw-w64's start-up code, runtime and system libraries below in place of
# the default libraries the compiler names (libcmt.lib, oldnames.lib); no
# manifest, which would take Microsoft's manifest tool.
list(APPEND link_flags /nodefaultlib /manifest:no)
if(NOXD_MSVC_DRIVER STREQUAL clang)
    list(TRANSFORM link_flags PREPEND "-Xlinker ")
endif()
list(JOIN link_flags " " link_flags)
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link_flags}")
set(libraries ${mingw}/lib/crt2.o)
foreach(library mingw32 mingwex msvcrt kernel32 user32 gdi32 advapi32 shell32)
    list(APPEND libraries ${mingw}/lib/lib${library}.a)
endforeach()
list(APPEND libraries ${libgcc} ${mingw}/lib/libmingw32.a ${mingw}/lib/libmingwex.a)
# Cached, where CMake's platform files would put Microsoft's names.
list(JOIN libraries " " libraries)
set(CMAKE_C_STANDARD_LIBRARIES "${libraries}" CACHE STRING "" FORCE)
set(CMAKE_CXX_STANDARD_LIBRARIES "${libraries}" CACHE STRING "" FORCE)
