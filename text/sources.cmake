list(APPEND KRT_PURE_SOURCES
  text/input_ring.cpp
  text/layout_source.cpp
  text/line_echo.cpp
  text/log_name.cpp
  text/print_walk.cpp
  text/repaint_pacing.cpp
  text/text_window_table.cpp
)
list(APPEND KRT_WIN32_SOURCES
  text/command_prompt.cpp
  text/console_print.cpp
  text/console_repaint.cpp
  text/glyph_cache.cpp
  text/line_input.cpp
  text/log_file.cpp
  text/text_window.cpp
  text/text_window_proc.cpp
  text/window_information.cpp
)
