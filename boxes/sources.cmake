list(APPEND KRT_PURE_SOURCES
  boxes/box_geometry.cpp
  boxes/box_state.cpp
)
list(APPEND KRT_WIN32_SOURCES
  boxes/box_shared.cpp
  boxes/button_box.cpp
  boxes/button_box_proc.cpp
  boxes/input_box.cpp
  boxes/input_box_proc.cpp
)
