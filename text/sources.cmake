list(APPEND KRT_PURE_SOURCES
  text/text_window_table.cpp
)
list(APPEND KRT_WIN32_SOURCES
  text/text_window_proc.cpp
)
