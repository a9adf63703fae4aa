#!/usr/bin/env bash
# Makes the placeholder sounds of the sample content: short tones, clicks and
# noise swishes from SoX, mono at 16 kHz, and for ".mp3" names encoded by
# LAME at 16 kbit/s, so every file stays a few hundred bytes. Every sound
# name the code and the sample data play (directly or through a sound set)
# has a line in the list below; add a line when a new name appears.
#
# Usage: tools/make-sample-sounds.sh [DATA_FOLDER] (default: data). Runs the
# same way every time (SoX's random numbers are fixed with -R), so the
# committed output only changes when this list or the tools change.
set -euo pipefail

data=${1:-"$(dirname "$0")/../data"}
for tool in sox lame; do
  command -v "$tool" >/dev/null || { echo "needs $tool (tools/setup.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# SoX synth arguments of each kind of sound.
effects() {
  case $1 in
    click)  echo "synth 0.04 square $2 fade 0 0.04 0.03 vol 0.5" ;;
    tone)   echo "synth 0.15 sine $2 fade 0.01 0.15 0.08 vol 0.6" ;;
    chime)  echo "synth 0.3 sine $2:$(( $2 * 3 / 2 )) fade 0.01 0.3 0.2 vol 0.6" ;;
    thud)   echo "synth 0.15 sine $2 fade 0 0.15 0.12 vol 0.9" ;;
    swish)  echo "synth 0.2 pinknoise sinc $2-$(( $2 * 3 )) fade q 0.05 0.2 0.12 vol 0.7" ;;
    loop)   echo "synth 1.0 sine $2 tremolo 2 40 vol 0.3" ;;
    music)  echo "synth 2 sine $2:$(( $2 * 2 )) tremolo 3 50 fade 0.1 2 0.5 vol 0.4" ;;
  esac
}

# name (under the data folder), kind, pitch in Hz
while read -r name kind hz; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  out="$data/$name"
  mkdir -p "$(dirname "$out")"
  wav="$work/sound.wav"
  # shellcheck disable=SC2046
  sox -R -n -r 16000 -c 1 -b 16 "$wav" $(effects "$kind" "$hz")
  case $name in
    *.mp3) lame --quiet --noreplaygain -m m -b 16 --resample 16 "$wav" "$out" ;;
    *)     cp "$wav" "$out" ;;
  esac
done <<'LIST'
# Sound sets of sound/SoundSets.xml and their own set files
sound/Game_Tile_Throw_To_Rack_01.mp3   swish 900
sound/Game_Tile_Throw_To_Rack_02.mp3   swish 1100
sound/Game_Tile_Land_InRack_01.mp3     click 500
sound/Game_Tile_Land_InRack_02.mp3     click 650
sound/UI_Game_CannotPlace_Swish_01.mp3 swish 700
sound/UI_Game_CannotPlace_Swish_02.mp3 swish 1300
sound/Civ_Humans_Knight_Select.mp3     tone 440
sound/Civ_Humans_Knight_PickUp.mp3     click 800
sound/Civ_Humans_Knight_Deploy.mp3     thud 110
sound/Civ_Humans_Archer_Select.mp3     tone 520
sound/Civ_Humans_Archer_Select_02.mp3  tone 587
# Drops and the board
sound/UI_Game_CantPlace.mp3            thud 90
sound/Game_Release_ToMove_Character.mp3 click 350
sound/Game_Tile_Land_InRack.mp3        click 600
sound/Game_Ponder_LP.mp3               loop 220
sound/UI_Game_Chest_Tap.mp3            click 1000
sound/KO_Player_Stomp.mp3              thud 70
sound/Civ_Ninja_Deploy_SmokeBomb_Vanish.mp3  swish 400
sound/Civ_Ninja_Deploy_SmokeBomb_Option2.mp3 swish 500
# Premium squares
sound/Premium_Power.mp3                chime 660
sound/Premium_Defense.mp3              chime 440
sound/Premium_Resist.mp3               chime 550
sound/Premium_Score.mp3                chime 880
sound/Premium_Teleport.mp3             swish 1500
sound/Train_Horn.mp3                   chime 300
# Player cards
sound/Civ_Humans_PlayerCard.mp3        chime 494
sound/Civ_Orcs_PlayerCard.mp3          chime 330
# Turn controller
sound/Game_Submit_Round.mp3            chime 784
sound/Game_Cancel_Submission.mp3       tone 330
sound/Game_Abandon_Turn.mp3            tone 262
sound/Game_Resign.mp3                  thud 130
sound/Game_Delete.mp3                  thud 100
# Puppet tags
sound/Civ_Humans_Sword_Swing.mp3       swish 1200
sound/Civ_Humans_Bow_Shot.mp3          click 1400
sound/Civ_Orcs_Cleaver_Swing.mp3       swish 600
sound/Civ_Orcs_Rage_Loop.mp3           loop 150
sound/Game_Teleport.mp3                chime 990
# Tooltips
sound/UI_Game_Question_Card_IN.mp3     chime 740
sound/UI_Game_Question_Card_OUT.mp3    tone 494
sound/UI_Game_Tooltip_Hide.mp3         click 420
# Game scene: button releases, the Submit button, the ambient loop
sound/Generic_Push_Button.mp3          click 700
sound/UI_Front_End_Begin_Battle.mp3    chime 523
sound/Amb_Field_LP.mp3                 loop 180
# The player card's buttons
sound/UI_PlayerCard_Dismiss.mp3        tone 392
sound/UI_Game_UI_Select_Generic.mp3    click 880
# Music
sound/Mx_Title_Theme_v4.mp3            music 262
# Front end, preloaded by the game-data load
sound/UI_Front_End_Back_Option.mp3     click 520
sound/UI_Front_End_Select.mp3          click 880
sound/UI_Front_End_Tutorial_SlideThrough.mp3 swish 700
sound/Game_Select_Character.mp3        tone 660
sound/Game_Touch_Scroll.mp3            click 300
sound/UI_Characters_Spawn_In.mp3       chime 392
LIST
