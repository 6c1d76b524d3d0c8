#include "app/match_input.h"

#include "app/input_state.h"

WorldInput KeyboardInput::read(World& /*world*/, float /*frameTime*/) {
    WorldInput input;
    input.forward = InputState::getForward() != 0;
    input.backward = InputState::getBackward() != 0;
    input.left = InputState::getLeft() != 0;
    input.right = InputState::getRight() != 0;
    input.fireButton = InputState::getLeftButton() != 0;
    input.rightButton = InputState::getRightButton() != 0;
    input.centreView = InputState::getCenterView() != 0;
    InputState::setCenterView(0);
    input.look = mouseLook_.read(MouseLookSettings::fromSettings()).value_or(LookTurn{});
    return input;
}
