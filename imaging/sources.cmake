list(APPEND KRT_PURE_SOURCES
  imaging/drawing_colour.cpp
  imaging/text_state.cpp
  imaging/tool_feed.cpp
)
list(APPEND KRT_WIN32_SOURCES
)
