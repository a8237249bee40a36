list(APPEND KRT_PURE_SOURCES
  imaging/builtin_font.cpp
  imaging/builtin_text.cpp
  imaging/circle_walk.cpp
  imaging/circles.cpp
  imaging/colour.cpp
  imaging/colour_rows.cpp
  imaging/drawing_state.cpp
  imaging/flood_fill.cpp
  imaging/lines.cpp
  imaging/pixel_view.cpp
  imaging/pixels.cpp
  imaging/profile_plots.cpp
  imaging/raster.cpp
  imaging/test_patterns.cpp
  imaging/text_state.cpp
  imaging/tool_feed.cpp
  imaging/transforms.cpp
)
list(APPEND KRT_WIN32_SOURCES
  imaging/colour_dialog.cpp
  imaging/font_dialog.cpp
  imaging/grey_pattern.cpp
  imaging/pick_tools.cpp
  imaging/truetype_font.cpp
  imaging/truetype_text.cpp
)
