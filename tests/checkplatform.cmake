# Fails when code outside src/platform asks which system it is built for:
# what differs between Windows and the rest belongs to the platform layer,
# so that everything else is one code for all.
file(GLOB_RECURSE files "${ROOT}/src/*.cpp" "${ROOT}/src/*.h")
set(offenders)
foreach(file IN LISTS files)
    if(file MATCHES "/src/platform/")
        continue()
    endif()
    file(STRINGS "${file}" hits REGEX "Q_OS_WIN|_WIN32|_MSC_VER|<windows\\.h>")
    if(hits)
        list(APPEND offenders "${file}")
    endif()
endforeach()
if(offenders)
    list(JOIN offenders "\n  " shown)
    message(FATAL_ERROR "Windows-only code outside src/platform:\n  ${shown}")
endif()
