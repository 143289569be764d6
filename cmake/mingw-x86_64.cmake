# The 64-bit Windows flavour (the win64 preset).
set(JOT_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
