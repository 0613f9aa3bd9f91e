narabin_gui_sources(
  seatchangerun.cpp
  conditioneditor.cpp
)
narabin_core_sources(placement.cpp countdownface.cpp resultfile.cpp)
