narabin_gui_sources(
  rostercommands.cpp
)
