#pragma once

// The short animations that show an executed action's outcome: projectiles,
// chains, shards, slashes, smoke, crosses, impact groups, one-shot effect
// puppets and floating numbers. Every effect builds its nodes on gGameScene
// (registered there as effect nodes, which the scene clears), starts their
// actions after the given delay and returns at once; only the teleport and
// the cast-power drop report back, through Game::onVisualStepDone. An effect
// whose entity, view, puppet, proto part, image or puppet file is missing
// shows nothing. No effect changes the model or the game's generator; the
// shards and random variants draw from gRng.
//
// Files: ActionEffects.cpp (effect puppets, hits, heals, marks),
// ActionEffects_flight.cpp (projectiles, chains, shards),
// ActionEffects_moves.cpp (teleport, cast-power drop, smoke, stomps,
// upgrades, auras, premium squares).

#include "rules/GridSlot.h"

#include "platform/engine/CCGeometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {
class CCNode;
}

class ActionResultInfo;
class CandidateAction;
class Entity;
class Game;
class PuppetInstance;

// Effect puppets and layers.
// An instance (white) of the puppet file at path, added to the scene at
// zOrder and registered; null when the puppet cannot be loaded or there is
// no scene.
PuppetInstance* createEffectPuppet(const std::string& path, int zOrder);
// createEffectPuppet, hidden at point (mirrored with flip), shown after the
// delay playing "Play" once; null when it cannot be made.
PuppetInstance* playEffectPuppet(const std::string& path, const cocos2d::CCPoint& point, int zOrder,
                                 float delay, bool flip);
// An empty node added to the scene at zOrder and registered; null without a scene.
cocos2d::CCNode* createEffectLayer(int zOrder);

// The effect group of an impact type: 0 melee, 2 magic, 4 ranged, + 1 for a
// big hit. False and an empty path for any other type.
bool impactEffectPath(int32_t impactType, std::string& outPath);

// Hits.
// One projectile from the action's source to its target entity.
void launchProjectile(CandidateAction* action, const GridSlot& source, const GridSlot& target,
                      bool big, float delay);
// A chain of bolts from the source through the ids in order.
void playChainLightning(Entity* source, const std::vector<int32_t>& chain, bool big, float delay);
// Ten shards flying off a hit victory unit.
void playCrystalShardBurst(CandidateAction* action, Entity* attacker, Entity* crystal, float delay);
// The impact effect group where a hit lands.
void playImpactEffect(Entity* hit, CandidateAction* action, bool magic, bool ranged, bool big,
                      int32_t healthChange, float delay);
// A melee slash over the attacker.
void playMeleeSlash(Entity* attacker, Entity* target, bool big, bool notLastHit, float delay);
// The mark where a knocked-back unit stood.
void playKnockbackEffect(const ActionResultInfo* result, Entity* attacker, float delay);

// Health and score.
void playHealEffect(CandidateAction* action, Entity* healed, float delay);
void showHealthChange(Entity* entity, int32_t change, CandidateAction* action, float delay);
void showPlayerHealth(Entity* entity, CandidateAction* action, float fraction, float delay);
void playScoreFlyouts(CandidateAction* action, float delay);
void playReviveEffect(Entity* entity, float delay);

// Moves, smoke and stomps.
// outDelay gets the delay back.
void playTeleportEffect(CandidateAction* action, int32_t entityId, const GridSlot& from,
                        const GridSlot& to, float delay, float* outDelay);
void playCastPowerDrop(CandidateAction* action);
void playNinjaSmoke(const cocos2d::CCPoint& point, int zOrder, float delay);
void playDeploySmoke(CandidateAction* action, Entity* deployed);
void playTyphoon(CandidateAction* action, const GridSlot& square);
void playCorpseStompEffect(Entity* stomped, Entity* stomper, CandidateAction* action, int zOrder,
                           float delay);
void playStompSound(CandidateAction* action);

// Upgrades, auras and premium squares.
void playUpgradeAnimation(CandidateAction* action, int32_t level);
void applyPuppetUpgradeLevel(Game* game, int32_t entityId, int32_t level);
void updateAuras(Game* game, const ActionResultInfo* result, float delay);
void playBloodrageGain(Game* game, const ActionResultInfo* result, float delay);
void playPremiumSquareReactions(CandidateAction* action);
