#include "boxes/box_state.h"

namespace {

constexpr InputBoxFields kInitialInputBox = {nullptr, 0, 80, 70, {}, {}, {}, nullptr, 0, 0};
constexpr ButtonBoxFields kInitialButtonBox = {nullptr, 0, 0, 0, 98, 26, {}, {}, 0};

}  // namespace

InputBoxFields InputBox = kInitialInputBox;
ButtonBoxFields ButtonBox = kInitialButtonBox;

void ResetBoxes()
{
    for (char*& value : InputBox.itemValue)
        delete[] value;
    InputBox = kInitialInputBox;
    ButtonBox = kInitialButtonBox;
}
