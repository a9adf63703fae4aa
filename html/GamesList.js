// The games list screen. The program rebuilds the list whole: the create
// entry first (which empties the list), then each section's title and its
// games' entries, then the style call. An entry sent again replaces the
// one of its game. Every text is put in as text, never as markup.

// The sections in the order the program sends them, by the local player's
// state in the game (MyTurn 1, OpponentsTurn 2, NotActive 3, NotInGame 0).
// MyTurn's title is the program's (#YourTurnText).
var gamesListSections = [
    {state : 1, title : ''}, {state : 2, title : "Opponent's turn"},
    {state : 3, title : 'Finished games'}, {state : 0, title : 'Other games'}
];

// The game shown on the board, whose entry is marked; '' for none.
var gamesListCurrentId = '';

function gamesListApp() { return (window.cef && window.cef.uiapp) ? window.cef.uiapp : null; }

function gamesListSection(state) { return $('#GamesSection' + state); }

function gamesListEntry(gameId) {
    return $('#GamesList .GameEntry')
        .filter(function() { return $(this).attr('data-game') === String(gameId); });
}

// Empties the list and starts it again: the entry that creates a game and
// the four sections, each hidden until it holds a game.
function addCreateEntry() {
    var list = $('#GamesList').empty();
    $('<li class="CreateEntry"></li>')
        .text('Create a new game')
        .on('click',
            function() {
                if (typeof showCreateGame === 'function')
                    showCreateGame();
            })
        .appendTo(list);
    gamesListSections.forEach(function(section) {
        var item = $('<li class="GamesSection"></li>')
                       .attr('id', 'GamesSection' + section.state)
                       .attr('data-state', section.state)
                       .hide();
        var title = $('<div class="SectionTitle"></div>').text(section.title);
        if (section.state === 1)
            title.attr('id', 'YourTurnText');
        item.append(title).append('<ul class="SectionEntries"></ul>').appendTo(list);
    });
}

// The layout mode's look: the body carries "LayoutMode<n>".
function overrideStyleByLayoutType() {
    var uiapp = gamesListApp();
    var mode = uiapp ? uiapp.getLayoutMode() : undefined;
    $('body').removeClass('LayoutMode0 LayoutMode1 LayoutMode2');
    if (mode !== undefined && mode !== null)
        $('body').addClass('LayoutMode' + mode);
}

// The next entry of this game is the current one.
function selectGameIfNotActive(gameId) {
    if (gamesListCurrentId !== String(gameId))
        showCurrentGameEntryByGameID(gameId);
}

function showCurrentGameEntryByGameID(gameId) {
    gamesListCurrentId = String(gameId);
    $('#GamesList .GameEntry').removeClass('Current');
    gamesListEntry(gameId).addClass('Current');
}

// An image of the data folder; one that is missing (a colour layer the
// avatar lacks) leaves no mark.
function gamesListImage(className, path) {
    return $('<img alt="">').addClass(className).on('error', function() {
                                                    $(this).hide();
                                                }).attr('src', 'tarnwick://data/' + path);
}

// One game's entry in the section of its state; clicking it opens the game.
function addGameEntry(gameId, opponentName, avatar, avatarColorImage, state, lastMoveText,
                      createdText, localEmblem, opponentEmblem, unused, localIsSecond,
                      opponentColor, newChatCount) {
    var id = String(gameId);
    var entry = $('<li class="GameEntry"></li>')
                    .attr('data-game', id)
                    .attr('data-second', localIsSecond ? '1' : '0')
                    .attr('data-color', opponentColor);
    var portrait = $('<span class="EntryPortrait"></span>')
                       .addClass('PlayerColor' + opponentColor)
                       .append(gamesListImage('EntryAvatar', avatar))
                       .append(gamesListImage('EntryAvatarColor', avatarColorImage));
    var emblems = $('<span class="EntryEmblems"></span>')
                      .append(gamesListImage('EntryEmblem LocalEmblem', localEmblem))
                      .append(gamesListImage('EntryEmblem OpponentEmblem', opponentEmblem));
    var texts = $('<span class="EntryTexts"></span>')
                    .append($('<span class="EntryName"></span>').text(opponentName))
                    .append($('<span class="EntryLastMove"></span>').text(lastMoveText))
                    .append($('<span class="EntryCreated"></span>').text(createdText));
    var unread = $('<span class="EntryUnread"></span>').text(newChatCount);
    if (!(newChatCount > 0))
        unread.hide();
    entry.append(portrait, texts, emblems, unread);
    if (id === gamesListCurrentId)
        entry.addClass('Current');
    entry.on('click', function() {
        var uiapp = gamesListApp();
        if (uiapp)
            uiapp.selectGame(id, true);
    });

    var old = gamesListEntry(id);
    var section = gamesListSection(state);
    if (old.length && old.closest('.GamesSection').is(section)) {
        old.first().replaceWith(entry);
    } else {
        old.remove();
        section.find('.SectionEntries').append(entry);
    }
    section.show();
}

// The page forgets the game: its entry goes, and it is no longer current.
function purgeGameFromAll(gameId) {
    var entry = gamesListEntry(gameId);
    var section = entry.closest('.GamesSection');
    entry.remove();
    if (section.length && section.find('.GameEntry').length === 0)
        section.hide();
    if (gamesListCurrentId === String(gameId))
        gamesListCurrentId = '';
}

// The puzzle menus' button of the puzzle on the board is marked.
function showCurrentPuzzleEntry(buttonId) {
    $('.PuzzleEntry').removeClass('Current');
    $('#' + buttonId).addClass('Current');
}
