narabin_core_sources(
  rosterfile.cpp
)
narabin_gui_sources(
  rostercommands.cpp
  rostereditor.cpp
)
