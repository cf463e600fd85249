# LLVM's tools for Microsoft's formats: llvm-dlltool (noxd.lib), and for the
# tests clang-cl and lld-link. Distributions install them under versioned
# names too (Debian: clang-cl-14, and /usr/lib/llvm-14/bin/ for each), with
# the plain name only for the default version, if at all; on Windows they
# are in LLVM's bin folder on the PATH.
#   noxd_find_llvm_tool(VARIABLE TOOL [REQUIRED])
# Sets the cache variable VARIABLE to the tool's path; REQUIRED fails the
# configuration when there is none.
function(noxd_find_llvm_tool variable tool)
    set(names ${tool})
    set(folders)
    foreach(version RANGE 14 21)
        list(PREPEND names ${tool}-${version})
        list(PREPEND folders /usr/lib/llvm-${version}/bin)
    endforeach()
    # The plain name first, then the newest version.
    list(PREPEND names ${tool})
    list(REMOVE_DUPLICATES names)
    if("REQUIRED" IN_LIST ARGN)
        set(required REQUIRED)
    endif()
    find_program(${variable} NAMES ${names} PATHS ${folders} DOC "LLVM's ${tool}" ${required})
endfunction()
