// The team-selection and team-details screens. The program fills them
// (clearTeamSelectRoster, addToTeamSelectRoster, setTeamSelectTitle,
// setTeamSelectAvatars; addTeamLongDesc, addTeamDetails, addDetailEntry)
// when the page asks for them through cef.uiapp, and arms the create button
// (clearButton, fixupButtonWithHeight) once a team is picked; the button's
// handler asks for the game with requestGame. Texts are set as text, never
// as markup.

// The selection the screen was opened for.
var teamSelectGameId = '0';
var teamSelectOpponent = '';
var teamSelectMatchmake = false;
// Where the details screen's back button returns: a screen, or 'GameBoard'.
var teamDetailsBackTarget = 'TeamSelect';

function teamSelectApp() { return (window.cef && window.cef.uiapp) ? window.cef.uiapp : null; }

// Opens team selection: gameId '0' for a new game against opponent (the
// create form's name when empty), or an invitation's id; matchmake for a
// random opponent; rematch for a new game against a finished game's
// opponent.
function showTeamSelect(gameId, opponent, matchmake, rematch) {
    teamSelectGameId = String(gameId);
    teamSelectMatchmake = matchmake === true;
    teamSelectOpponent = opponent ? String(opponent) : '';
    if (!teamSelectOpponent && !teamSelectMatchmake)
        teamSelectOpponent = String($('#CreateGameOpponentName').val() || '');
    clearButton('TeamSelectCreateGame');
    navigateTo('TeamSelect');
    var uiapp = teamSelectApp();
    if (uiapp)
        uiapp.populateTeamSelect(teamSelectOpponent, teamSelectGameId, teamSelectMatchmake,
                                 rematch === true);
}

function clearTeamSelectRoster() {
    $('#TeamSelectRoster').empty();
    $('#TeamSelectTitle').text('');
}

// One roster entry at its grid place (three columns); a click picks the
// team, the "?" opens its details.
function addToTeamSelectRoster(team, name, emblem, column, row) {
    var entry = $('<div class="RosterEntry"></div>')
                    .attr('data-team', team)
                    .css({'grid-column' : String(column + 1), 'grid-row' : String(row + 1)});
    entry.append($('<img class="RosterEmblem" alt="">').attr('src', emblem));
    entry.append($('<span class="RosterName"></span>').text(name));
    entry.on('click', function() { pickTeam(team); });
    if (team !== 'random')
        entry.append($('<button class="RosterDetails">?</button>').on('click', function(event) {
            event.stopPropagation();
            teamDetailsBackTarget = 'TeamSelect';
            showTeamDetails(team);
            addTeamHelpBackButton('TeamSelect', true);
        }));
    $('#TeamSelectRoster').append(entry);
}

function pickTeam(team) {
    $('#TeamSelectRoster .RosterEntry').removeClass('Selected');
    $('#TeamSelectRoster .RosterEntry')
        .filter(function() { return $(this).attr('data-team') === team; })
        .addClass('Selected');
    var uiapp = teamSelectApp();
    if (uiapp)
        uiapp.teamRosterSelection(team);
}

function setTeamSelectTitle(title) { $('#TeamSelectTitle').text(title); }

function teamSelectPlayer(box, name, color, avatar, colorLayer) {
    box.empty().attr('class', 'TeamSelectPlayer PlayerColor' + color);
    box.append($('<img class="TeamSelectAvatar" alt="">').attr('src', avatar));
    // A colour layer the avatar lacks leaves no mark.
    if (colorLayer)
        box.append($('<img class="TeamSelectAvatarColor" alt="">')
                       .on('error', function() { $(this).hide(); })
                       .attr('src', 'tarnwick://data/' + colorLayer));
    box.append($('<span class="TeamSelectName"></span>').text(name));
}

// Both players of the header, first and second.
function setTeamSelectAvatars(firstName, secondName, firstColor, secondColor, firstAvatar,
                              secondAvatar, firstColorLayer, secondColorLayer, unused) {
    teamSelectPlayer($('#TeamSelectPlayer1'), firstName, firstColor, firstAvatar, firstColorLayer);
    teamSelectPlayer($('#TeamSelectPlayer2'), secondName, secondColor, secondAvatar,
                     secondColorLayer);
}

// A button without its handler, hidden until armed again.
function clearButton(id) {
    $('#' + id).off('click mousedown mouseup mouseleave').hide();
}

// Arms a button: its up and pressed images (of the page's UI folder), the
// handler of a click, and its size; the place numbers are the layout's own.
function fixupButtonWithHeight(id, left, top, downImage, upImage, handler, width, textWidth,
                               height) {
    var button = $('#' + id);
    var image = function(name) {
        return "url('tarnwick://UI/" + name + "') transparent no-repeat";
    };
    button.off('click mousedown mouseup mouseleave')
        .css({width : width + 'px', height : height + 'px', background : image(upImage)})
        .on('mousedown', function() { button.css('background', image(downImage)); })
        .on('mouseup mouseleave', function() { button.css('background', image(upImage)); })
        .on('click', handler)
        .show();
}

// The create button: a new game against the opponent, the answer to an
// invitation, or a place in the matchmaking queue.
function requestGame(gameId, opponent, team, matchmake) {
    var uiapp = teamSelectApp();
    if (!uiapp)
        return;
    if (matchmake)
        uiapp.matchmake(team);
    else if (String(gameId) === '0')
        uiapp.createGame(opponent, team);
    else
        uiapp.acceptGame(team, String(gameId));
}

// Opens the details screen of a team and asks the program to fill it.
function showTeamDetails(team) {
    $('#TeamDetailsLongDesc, #TeamDetailsHeader, #TeamDetailsTiles').empty();
    $('#TeamDetailsBack').hide();
    navigateTo('TeamDetails');
    var uiapp = teamSelectApp();
    if (uiapp)
        uiapp.populateTeamDetails(team);
}

function addTeamLongDesc(text) { $('#TeamDetailsLongDesc').text(text); }

function teamDetailsImage(className, path) {
    return $('<img alt="">').addClass(className).on('error', function() {
                                                    $(this).hide();
                                                }).attr('src', 'tarnwick://data/' + path);
}

function addTeamDetails(team, name, color, shortDesc, detailImage, emblemImage, bonusIcon,
                        bonusTitle, bonusDesc) {
    $('#TeamDetailsScreen').attr('data-team', team);
    $('#TeamDetailsHeader')
        .empty()
        .css('background-color', color)
        .append(teamDetailsImage('TeamDetailsEmblem', emblemImage),
                $('<div class="TeamDetailsName"></div>').text(name),
                $('<div class="TeamDetailsShort"></div>').text(shortDesc),
                teamDetailsImage('TeamDetailsImage', detailImage),
                $('<div class="TeamDetailsBonus"></div>')
                    .append(teamDetailsImage('TeamDetailsBonusIcon', bonusIcon),
                            $('<span class="TeamDetailsBonusTitle"></span>').text(bonusTitle),
                            $('<span class="TeamDetailsBonusDesc"></span>').text(bonusDesc)));
}

// One tile of the team, in column 0 or 1.
function addDetailEntry(column, label, className, portrait, help) {
    $('#TeamDetailsTiles')
        .append($('<div class="DetailEntry"></div>')
                    .css('grid-column', String(column + 1))
                    .append(teamDetailsImage('DetailPortrait', portrait),
                            $('<div class="DetailLabel"></div>').text(label),
                            $('<div class="DetailClass"></div>').text(className),
                            $('<div class="DetailHelp"></div>').text(help)));
}

// The back button returns to target: a screen, or 'GameBoard' for the
// board with the games list beside it.
function addTeamHelpBackButton(target, visible) {
    teamDetailsBackTarget = target;
    $('#TeamDetailsBack').toggle(visible !== false);
}

function leaveTeamDetails() {
    if (teamDetailsBackTarget === 'GameBoard') {
        navigateTo('GamesList');
        if (typeof showGameBoard === 'function')
            showGameBoard();
    } else {
        navigateTo(teamDetailsBackTarget);
    }
}

// The two screens join the menu.
$(function() {
    $('#navmenu-outer')
        .append(
            $('<div id="TeamSelectScreen" class="Screen"></div>')
                .append($('<div id="TeamSelectTitle" class="ScreenTitle"></div>'),
                        $('<div id="TeamSelectPlayers"></div>')
                            .append($('<div id="TeamSelectPlayer1" class="TeamSelectPlayer"></div>'),
                                    $('<span class="TeamSelectVersus">vs</span>'),
                                    $('<div id="TeamSelectPlayer2" class="TeamSelectPlayer"></div>')),
                        $('<div id="TeamSelectRoster"></div>'),
                        $('<button id="TeamSelectCreateGame">Start</button>').hide()),
            $('<div id="TeamDetailsScreen" class="Screen"></div>')
                .append($('<button id="TeamDetailsBack" class="NavButton">Back</button>')
                            .on('click', leaveTeamDetails)
                            .hide(),
                        $('<div id="TeamDetailsHeader"></div>'),
                        $('<p id="TeamDetailsLongDesc"></p>'),
                        $('<div id="TeamDetailsTiles"></div>')));
});
