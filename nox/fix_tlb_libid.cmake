# widl 7 writes the library's GUID into the type library with its last byte
# replaced (0x19 whatever the IDL says), so the library would register under
# a wrong LIBID. This script puts the right byte back.
#   cmake -DTLB=<file.tlb> -DLIBID_BYTES=<16 bytes as hex, in file order> -P fix_tlb_libid.cmake
file(READ "${TLB}" contents HEX)
string(TOLOWER "${LIBID_BYTES}" wanted)
string(SUBSTRING "${wanted}" 0 30 prefix)
string(SUBSTRING "${wanted}" 30 2 last_byte)
string(FIND "${contents}" "${wanted}" already)
if(already GREATER_EQUAL 0)
    return()
endif()
string(FIND "${contents}" "${prefix}" at)
math(EXPR odd "${at} % 2")
if(at LESS 0 OR odd)
    message(FATAL_ERROR "${TLB}: library GUID not found")
endif()
math(EXPR offset "${at} / 2 + 15")
math(EXPR value "0x${last_byte}")
math(EXPR high "${value} / 64")
math(EXPR middle "(${value} % 64) / 8")
math(EXPR low "${value} % 8")
set(last_octal "${high}${middle}${low}")
execute_process(
    COMMAND sh -c "printf '\\${last_octal}' | dd of='${TLB}' bs=1 seek=${offset} conv=notrunc status=none"
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${TLB}: cannot patch the library GUID")
endif()
