// The create-game screen and the invitations of the games list. A game
// against a named player and a random opponent both go through the team
// choice (showTeamSelect opens the screen and has it filled), whose button
// then creates the game, accepts it or asks for matchmaking. An invitation's entry gets Accept
// (the team choice for that game) and Decline.

// The notices native code names by key when a creation fails.
kNoticeTexts.GeneralGameCreateFailure = 'The game could not be created. Please try again later.';
kNoticeTexts.TooManyGamesError =
    'You have too many games running. Finish some before you start another.';

// The emblem an entry shows for a player without a team.
var kNoTeamEmblem = 'UI/Random-Emblem-hd.png';

function createGameApp() { return (window.cef && window.cef.uiapp) ? window.cef.uiapp : null; }

function navigateToCreateGame() {
    navigateTo('CreateGame');
    $('#CreateGameOpponentName').focus();
}

function navigateToGamesList() { navigateTo('GamesList'); }

// The games list's create entry opens the form.
function showCreateGame() { navigateToCreateGame(); }

// The team choice for a game against the player named in the form.
function chooseTeamForNamedOpponent() {
    var name = $.trim(String($('#CreateGameOpponentName').val() || ''));
    if (!name) {
        locAlert('Invalid player name.');
        return;
    }
    showTeamSelect('0', name, false, false);
}

// The team choice for a random opponent.
function chooseTeamForMatchmaking() { showTeamSelect('0', '', true, false); }

// An invitation's entry: the local player, second in the game, has no team
// yet while the game runs.
function isInvitationEntry(state, localEmblem, localIsSecond) {
    return (state === 1 || state === 2) && localEmblem === kNoTeamEmblem && localIsSecond == 1;
}

// A button of an invitation's entry: act(uiapp) runs instead of the entry's
// own click.
function invitationButton(className, label, act) {
    return $('<button></button>').addClass(className).text(label).on('click', function(event) {
        event.stopPropagation();
        var uiapp = createGameApp();
        if (uiapp)
            act(uiapp);
    });
}

function addInvitationButtons(gameId, opponentName) {
    var id = String(gameId);
    var buttons = $('<span class="InvitationButtons"></span>');
    buttons.append(invitationButton('InvitationAccept', 'Accept', function() {
        showTeamSelect(id, opponentName, false, false);
    }));
    buttons.append(invitationButton('InvitationDecline', 'Decline',
                                    function(uiapp) { uiapp.declineGame(id); }));
    gamesListEntry(id).append(buttons);
}

// Entries are made by the games list; invitations get their buttons after.
var addGameEntryWithoutInvitation = addGameEntry;
addGameEntry = function(gameId, opponentName, avatar, avatarColorImage, state, lastMoveText,
                        createdText, localEmblem, opponentEmblem, unused, localIsSecond) {
    addGameEntryWithoutInvitation.apply(this, arguments);
    if (isInvitationEntry(state, localEmblem, localIsSecond))
        addInvitationButtons(gameId, opponentName);
};
