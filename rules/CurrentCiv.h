#pragma once

// Whether the current game's current player leads the civ "kx4a", whose
// chest and rack have their own art; false with no current game or player.

bool currentPlayerIsKx4a();
