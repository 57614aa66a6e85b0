# The packaged Linux launcher, built against a static Qt (scripts/build-linux), runs on any
# current x86-64 desktop: what minimal desktops may lack is linked in, not left to the system.
# That is the C++ runtime, and the xcb-util libraries that Qt's X11 platform uses (Debian's -dev
# packages ship their static archives; xcb-image needs xcb-util's own, at the link's end).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libstdc++ -static-libgcc")
foreach(component ICCCM IMAGE KEYSYMS RENDERUTIL UTIL)
  string(TOLOWER ${component} name)
  string(REPLACE renderutil render-util name ${name})
  set(XCB_${component}_LIBRARY /usr/lib/x86_64-linux-gnu/libxcb-${name}.a CACHE FILEPATH "")
endforeach()
set(CMAKE_CXX_STANDARD_LIBRARIES ${XCB_UTIL_LIBRARY} CACHE STRING "")
