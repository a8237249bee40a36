list(APPEND KRT_PURE_SOURCES
  image/clipboard_dib.cpp
  image/clipboard_dib_runs.cpp
  image/file_headers.cpp
  image/image_blocks.cpp
  image/image_clicks.cpp
  image/image_file_state.cpp
  image/image_selection.cpp
  image/image_table.cpp
  image/mouse_state.cpp
  image/size_limits.cpp
)
list(APPEND KRT_WIN32_SOURCES
  image/clipboard.cpp
  image/file_dialogs.cpp
  image/image_commands.cpp
  image/image_display.cpp
  image/image_file.cpp
  image/image_menus.cpp
  image/image_recreate.cpp
  image/image_window.cpp
  image/image_window_proc.cpp
  image/image_zoom.cpp
  image/picture_files.cpp
  image/inspection_commands.cpp
  image/tool_commands.cpp
  image/transform_commands.cpp
)
