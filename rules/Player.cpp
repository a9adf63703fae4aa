#include "rules/Player.h"

#include "rules/Graveyard.h"

Player::Player(Game* game, int32_t index) : mGame(game), mIndex(index) {}

Player::~Player() {
    delete mGraveyard;
    unlink();
}
