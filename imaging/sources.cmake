list(APPEND KRT_PURE_SOURCES
  imaging/circle_walk.cpp
  imaging/circles.cpp
  imaging/drawing_state.cpp
  imaging/flood_fill.cpp
  imaging/lines.cpp
  imaging/pixel_view.cpp
  imaging/pixels.cpp
  imaging/raster.cpp
  imaging/text_state.cpp
  imaging/tool_feed.cpp
)
list(APPEND KRT_WIN32_SOURCES
  imaging/colour_dialog.cpp
  imaging/pick_tools.cpp
)
