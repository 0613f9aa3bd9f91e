narabin_gui_sources(
  seatchangerun.cpp
  conditioneditor.cpp
)
