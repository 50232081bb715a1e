# The Windows program is hardened like a distribution's packages: a canary
# in every function with a local array or an address-taken local, and the
# checked forms of memcpy, sprintf and the rest where the size is known.
# The toolchain links statically (-static), so the protector's library is
# linked in: otherwise the program would import libssp-0.dll, a DLL that is
# not Windows' own and would be looked for in the program's folder.
# _FORTIFY_SOURCE needs the optimiser, so a Debug build goes without it.
# SUMWISE_HARDEN=OFF builds without both, to measure what they cost.
option(SUMWISE_HARDEN "Stack protector and fortified string functions in the Windows build" ON)
if(WIN32 AND SUMWISE_HARDEN)
    add_compile_options(
        "$<$<COMPILE_LANGUAGE:C,CXX>:-fstack-protector-strong>"
        "$<$<AND:$<COMPILE_LANGUAGE:C,CXX>,$<NOT:$<CONFIG:Debug>>>:-D_FORTIFY_SOURCE=2>")
    add_link_options(-fstack-protector-strong)
endif()
