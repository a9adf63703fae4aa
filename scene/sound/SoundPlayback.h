#pragma once

// The one way the program plays sound: effects by name (a sound set of that
// name when one exists, else the file), effects panned by their position on
// the board, the title music, the master switch and the muting of audio
// while the main window is inactive. Playback goes through the shared
// CocosDenshion::SimpleAudioEngine.
//
// The option "Sound" is the live switch, gSoundsEnabled the live gate (it
// also drops while the window is inactive) and the preference
// "SoundsEnabled" carries the user's choice across runs. Effect ids are
// written only when an effect started, so callers preset -1 and use an id
// only when it changed. Main thread only.

#include "platform/engine/CCGeometry.h"

#include <cstdint>
#include <string>

namespace cocos2d {
class CCNode;
}

// Gates every effect; true at start.
extern bool gSoundsEnabled;

// Plays the sound set of that name (its variants never loop; true even when
// its rate limit lets nothing play), else the file. False while sounds are
// disabled or when the file could not start. effectId may be null.
bool playSoundEffect(const std::string& name, int32_t* effectId, bool loop);
// The same, panned by the scene position.
bool playSoundEffectPanned(const std::string& name, const cocos2d::CCPoint& position,
                           int32_t* effectId, bool loop);
// playSoundEffect without id or loop: the page bridge's way to play a sound.
void playSoundEffectSimple(const std::string& name);
// Plays a file when sounds are enabled, the name is not empty and the
// option "Sound" is set; writes the effect id and returns true then.
bool playSoundFile(const std::string& file, int32_t* effectId, bool loop);
// The same, then pans the effect by the position's x across the scene.
bool playSoundFilePanned(const std::string& file, const cocos2d::CCPoint& position,
                         int32_t* effectId, bool loop);
// Stops an effect by id while the option "Sound" is set.
void stopSoundEffect(int32_t effectId);
// Loops the title music while sounds are enabled and "Music" and "Sound" are set.
void playTitleMusic();

// The pan of an effect at that scene position: -factor at the scene's left
// edge, 0 at its centre, +factor at its right edge ("SoundPanFactor",
// 0.5 when unset).
float soundPanForPosition(const cocos2d::CCPoint& position);
// The game scene's node, whose content width the pan spans (240 either side
// of the centre without one). The scene sets itself when it is made and
// null when it goes; the node is not retained.
void setSoundSceneNode(cocos2d::CCNode* node);

// Whether the option "Sound" is set.
bool isSoundEnabled();
// Switches sound on (defines "Sound", then resumeAudio) or off (unsets it
// and mutes), then stores the result under "SoundsEnabled".
void setSoundEnabled(bool on);
// Flips the switch; the new state.
bool toggleSound();
// Applies the stored preference "SoundsEnabled" (on when never stored).
void loadSoundSetting();
// The window lost the focus: silence everything, stop running fades; the
// option "Sound" keeps its state.
void muteAudio();
// The window regained the focus: restores volumes and music, only while
// the option "Sound" is set.
void resumeAudio();
