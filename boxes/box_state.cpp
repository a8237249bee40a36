#include "boxes/box_state.h"

InputBoxFields InputBox = {nullptr, 0, 80, 70, {}, {}, {}, nullptr, 0, 0};
ButtonBoxFields ButtonBox = {nullptr, 0, 0, 0, 98, 26, {}, {}, 0};
