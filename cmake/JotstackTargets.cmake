# jot_portable_library(name SOURCES...): a library of portable C++ that must
# not include any Windows header. Built by both presets; the native build
# proves the "no Windows header" rule, since there is none on the host.
function(jot_portable_library name)
    add_library(${name} STATIC ${ARGN})
    set_property(GLOBAL APPEND PROPERTY JOT_PORTABLE_LIBS ${name})
endfunction()

# jot_win32_library(name SOURCES...): the thin Win32 layer of a subsystem;
# only the win32 preset builds it.
function(jot_win32_library name)
    if(JOT_WIN32)
        add_library(${name} STATIC ${ARGN})
        set_property(GLOBAL APPEND PROPERTY JOT_WIN32_LIBS ${name})
    endif()
endfunction()
