narabin_gui_sources(
  splash.cpp
  versioninfo.cpp
  helpviewer.cpp
)
