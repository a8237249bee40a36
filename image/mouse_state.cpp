#include "krtlib.h"

MouseStateFields MouseState = {};
int mouseTracking = 0;
