// Entity: moving on its grid and being placed on a grid.

#include "rules/Entity.h"

#include "rules/ActionResultInfo.h"
#include "rules/EntityGrid.h"

#include "content/protos/ProtoEntity.h"

bool Entity::moveTo(const GridSlot& square, CandidateAction* action) {
    const GridSlot from = mSlot;
    if (mGrid == nullptr || !mGrid->placeEntityAt(mId, square))
        return false;
    ActionResultInfo* result = resultIn(action);
    if (result != nullptr) {
        result->mInitialHealthFraction = getHealthFraction();
        result->mInitialSlot = from;
    }
    consumeMoveBuffs();
    if (result != nullptr)
        result->mFinalHealthFraction = getHealthFraction();
    return true;
}

bool Entity::placeOnGrid(EntityGrid* grid, const GridSlot& square) {
    if (grid == nullptr || !grid->placeEntityAt(mId, square))
        return false;
    // A unit that respawns comes back without its items and at full health;
    // its state is the caller's.
    const ProtoEntity* proto = getProto();
    if (mState == cStateKnockedOut && proto != nullptr && proto->mCanRespawn) {
        resetEquipment();
        setHealth(proto->mHitPoints);
    }
    return true;
}
