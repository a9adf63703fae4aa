#include "rules/CocosTileChestLink.h"

#include "rules/CurrentCiv.h"
#include "rules/HelpTooltip.h"
#include "rules/SceneServices.h"
#include "rules/TileChest.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "puppet/PuppetInstance.h"
#include "puppet/PuppetRegistry.h"

#include "platform/render/CCLabelTTF.h"

#include <cmath>
#include <string>

using namespace cocos2d;

namespace {

constexpr int cDoorZOrder = 200;
constexpr int cCounterZOrder = 200;

} // namespace

CocosTileChestLink::CocosTileChestLink(TileChest* owner) : CocosEntityGridLink(owner) {
    mCellSize = CCSize(46.0f, 55.0f);
}

CocosTileChestLink::~CocosTileChestLink() {
    ccSafeRelease(mCountLabel);
    dropNode(mDoor);
    mNode = nullptr;
}

bool CocosTileChestLink::attach(const CCPoint& position, const CCSize& size) {
    if (dynamic_cast<TileChest*>(mOwner) == nullptr)
        return false;
    // With no scene the view keeps the position it was given.
    CCNode* scene = sceneNode();
    if (scene == nullptr)
        return CocosEntityGridLink::attach(position, size);
    const CCPoint gridAt(std::trunc(position.x - 22.0f), std::trunc(position.y - 32.0f));
    if (!CocosEntityGridLink::attach(gridAt, size))
        return false;
    const char* door = currentPlayerIsKx4a() ? "Effects/DoorKX401" : "Effects/Door01";
    mDoor = PuppetInstance::create(PuppetRegistry::loadPuppet(door));
    mDoor->retain();
    mDoor->playAnimation(0, 0.0f, true, PuppetInstance::cDefaultBlend);
    mDoor->setPosition(position);
    scene->addChild(mDoor, cDoorZOrder);
    mNode = mDoor;

    mCountLabel = CCLabelTTF::labelWithString("99", getHeaderFontName(), 19.0f);
    mCountLabel->retain();
    mCountLabel->setColor(ccc3(25, 25, 25));
    mCountLabel->setPosition(CCPoint(-5.0f, -15.0f));
    mDoor->addChild(mCountLabel, cCounterZOrder);
    updateCountLabel();

    mTooltipKind = 1;
    showTooltipIndicator();
    sceneServices().addTooltipTarget(this);
    return true;
}

void CocosTileChestLink::updateCountLabel() {
    const auto* chest = dynamic_cast<TileChest*>(mOwner);
    if (mCountLabel != nullptr && chest != nullptr)
        mCountLabel->setString(std::to_string(chest->getEntityCount()).c_str());
}

CCPoint CocosTileChestLink::getTooltipPosition() const {
    return CCPoint(mPosition.x + 15.0f, mPosition.y + 20.0f);
}

void CocosTileChestLink::buildTooltip(CCNode* layer) {
    buildHelpTooltip(layer, "UI/Avatars/Avatar_Chest.png", localizedCString("Tarnwick Door"), "",
                     localizedCString("This contains all of the units, equipment, consumables, "
                                      "and spells that your team will use in battle."));
}
