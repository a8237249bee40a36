list(APPEND KRT_PURE_SOURCES
  core/clock.cpp
  core/control_flags.cpp
  core/library_reset.cpp
  core/mailbox.cpp
  core/narrow_text.cpp
  core/process_state.cpp
  core/snap.cpp
  core/status_text.cpp
)
list(APPEND KRT_WIN32_SOURCES
  core/clipboard_text.cpp
  core/dropped_files.cpp
  core/main_window.cpp
  core/main_window_commands.cpp
  core/popup_menu.cpp
  core/process_entry.cpp
  core/request_work.cpp
  core/requests.cpp
  core/snap_table.cpp
  core/status_and_pause.cpp
  core/text_convert.cpp
  core/user_thread.cpp
  core/window_placement.cpp
)
