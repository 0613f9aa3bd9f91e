narabin_gui_sources(
  platform.cpp
  qtplatform.cpp
  commondialog.cpp
  keystate.cpp
)
