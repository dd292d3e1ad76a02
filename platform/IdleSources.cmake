# lilywade-idle's platform: the idle watches and inhibitors over Qt Core,
# QtDBus and xcb, without the toolkit's GUI.
pkg_check_modules(XCB_SCREENSAVER REQUIRED IMPORTED_TARGET xcb xcb-screensaver)

add_library(lilywade_idle_platform STATIC
  factory/IdleFactory.cpp
  IdleWatch.h
  gnome/MutterIdleWatch.cpp
  gnome/SessionManagerInhibitor.cpp
  linux/IdleSession.cpp
  linux/ScreenSaverInhibit.cpp
  wayland/WaylandIdleWatch.cpp
  x11/X11IdleWatch.cpp)
target_include_directories(lilywade_idle_platform PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(lilywade_idle_platform
  PUBLIC lilywade_session Qt6::Core Qt6::DBus
  PRIVATE PkgConfig::XCB_SCREENSAVER lilywade_wayland_protocols)

if(LILYWADE_TESTS)
  # GNOME's idle sources against fakes on a D-Bus daemon of the test's own.
  target_sources(unit_tests PRIVATE gnome/GnomeIdle_test.cpp)
endif()
