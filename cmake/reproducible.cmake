# Two builds of one commit give the same bytes, whatever folder they run in
# and whenever they run (tests/e2e/repro_test.sh compares two such builds).

# Paths of the source and build trees, which debug information and __FILE__
# would carry, are written relative: "./digest/md5.cpp". The build tree is
# mapped second, so that it wins when it lies inside the source tree.
add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>")

# Static libraries without member dates, owners or modes, and a symbol map
# without a date, whatever default this binutils was configured with.
foreach(lang C CXX)
    set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()

if(WIN32)
    # ld writes the link time into the PE header (and so into its checksum)
    # unless told not to; the field is then 0.
    add_link_options(-Wl,--no-insert-timestamp)
endif()
