# The 32-bit Windows flavour (the win32 preset).
set(JOT_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
