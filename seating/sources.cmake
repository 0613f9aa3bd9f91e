narabin_gui_sources(
  seatchangerun.cpp
  conditioneditor.cpp
)
narabin_core_sources(placement.cpp countdownface.cpp resultfile.cpp)
narabin_gui_sources(countdown.cpp resultwindow.cpp printing.cpp)
narabin_core_sources(conditions.cpp)
narabin_gui_sources(noprintlinedialog.cpp)
