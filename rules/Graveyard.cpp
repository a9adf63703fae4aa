#include "rules/Graveyard.h"

#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"

Graveyard::Graveyard(int32_t owner, Game* game) : EntityGrid(owner, game) {
    mGridType = cGridGraveyard;
    mName = "\"Graveyard\"";
    setFlag(cGridLinear, true);
    setFlag(cGridHidden, true);
}

void Graveyard::onEntityAdded(int32_t id, EntityGrid* /*source*/) {
    Entity* entity = entityFor(id);
    if (entity == nullptr || entity->mState == cStateDead)
        return;
    if (CocosEntityLink* view = entity->getEntityLink())
        view->hideTooltipIndicator();
    entity->changeState(cStateDead);
}
