list(APPEND KRT_PURE_SOURCES
  image/image_table.cpp
  image/mouse_state.cpp
)
list(APPEND KRT_WIN32_SOURCES
  image/image_window_proc.cpp
)
