// The leaderboard and friends screens: the page functions the program calls
// to fill them (createLeaderBoardSlots, fillLeaderboardSlot,
// addFriendEntry), and their tabs and rows, which call the program through
// cef.uiapp. Names are set as text, never as markup.

var cLeaderboardSlotCount = 10;
// The tabs: the page's team names as the program maps them to boards.
var leaderboardTabs = [
    [ 'total', 'All' ], [ 'humans', 'Council' ], [ 'darkelves', 'Dark Elves' ],
    [ 'dwarves', 'Dwarves' ], [ 'orcs', 'Tribe' ], [ 'kx4a', 'KX4' ]
];
var leaderboardTeam = 'total';
var leaderboardFriendsOnly = false;
// One entry a slot: null while empty, else { rank, name, score, self }.
var leaderboardSlots = [];
// One entry a friend in list order: { name, state, id, hasAccount }.
var friendEntries = [];

function socialApp() { return (window.cef && window.cef.uiapp) ? window.cef.uiapp : null; }

// The program prepares count empty slots.
function createLeaderBoardSlots(count) {
    leaderboardSlots = [];
    for (var i = 0; i < count; ++i)
        leaderboardSlots.push(null);
    drawLeaderboard();
}

// The program fills a slot; self is 1 for the player's own entry.
function fillLeaderboardSlot(slot, rank, name, score, self) {
    if (slot < 0 || slot >= leaderboardSlots.length)
        return;
    leaderboardSlots[slot] = {rank : rank, name : name, score : score, self : self === 1};
    drawLeaderboard();
}

// A tab: asks the program for the team's board, everyone's or friends' only.
function showLeaderboardTab(team, friendsOnly) {
    leaderboardTeam = team;
    leaderboardFriendsOnly = friendsOnly;
    var uiapp = socialApp();
    if (uiapp)
        uiapp.showLeaderboard(team, cLeaderboardSlotCount, friendsOnly);
    drawLeaderboardTabs();
}

function showLeaderboardScreen() {
    navigateTo('LeaderboardScreen');
    showLeaderboardTab(leaderboardTeam, leaderboardFriendsOnly);
}

// The program lists one friend: its position from 0, persona name and
// state (1 online), platform id as text, and 1 when it has an account.
function addFriendEntry(position, name, state, id, hasAccount) {
    if (position === 0)
        friendEntries = [];
    friendEntries[position] = {name : name, state : state, id : id, hasAccount : hasAccount === 1};
    drawFriends();
}

function friendClicked(id) {
    var uiapp = socialApp();
    if (uiapp)
        uiapp.steamFriendClicked(id);
}

function showFriendsScreen() {
    navigateTo('FriendsScreen');
    friendEntries = [];
    drawFriends();
    var uiapp = socialApp();
    if (uiapp)
        uiapp.populateFriends();
}

function drawLeaderboardTabs() {
    var tabs = $('#LeaderboardTabs');
    tabs.empty();
    leaderboardTabs.forEach(function(tab) {
        tabs.append(
            $('<button>')
                .addClass('TabButton')
                .toggleClass('Selected', tab[0] === leaderboardTeam)
                .text(tab[1])
                .on('click', function() { showLeaderboardTab(tab[0], leaderboardFriendsOnly); }));
    });
    tabs.append(
        $('<button>')
            .addClass('TabButton')
            .toggleClass('Selected', leaderboardFriendsOnly)
            .text('Friends only')
            .on('click',
                function() { showLeaderboardTab(leaderboardTeam, !leaderboardFriendsOnly); }));
}

function drawLeaderboard() {
    var list = $('#LeaderboardSlots');
    list.empty();
    leaderboardSlots.forEach(function(entry) {
        var row = $('<li>').addClass('LeaderboardSlot');
        if (entry) {
            row.toggleClass('Self', entry.self);
            row.append($('<span>').addClass('Rank').text(entry.rank));
            row.append($('<span>').addClass('Name').text(entry.name));
            row.append($('<span>').addClass('Score').text(entry.score));
        }
        list.append(row);
    });
}

function drawFriends() {
    var list = $('#FriendsList');
    list.empty();
    friendEntries.forEach(function(entry) {
        if (!entry)
            return;
        var row = $('<li>')
                      .addClass('FriendEntry')
                      .toggleClass('Online', entry.state === 1)
                      .toggleClass('Plays', entry.hasAccount)
                      .text(entry.name);
        row.on('click', function() { friendClicked(entry.id); });
        list.append(row);
    });
}

// The two screens and their buttons join the menu.
$(function() {
    $('#NavButtons')
        .append($('<button>')
                   .addClass('NavButton')
                   .text('Leaderboards')
                   .on('click', showLeaderboardScreen),
               $('<button>').addClass('NavButton').text('Friends').on('click', showFriendsScreen));
    $('#navmenu-outer')
        .append($('<div>')
                    .attr('id', 'LeaderboardScreen')
                    .addClass('Screen')
                    .append($('<div>').addClass('ScreenTitle').text('Leaderboards'),
                            $('<div>').attr('id', 'LeaderboardTabs'),
                            $('<ol>').attr('id', 'LeaderboardSlots')),
                $('<div>')
                    .attr('id', 'FriendsScreen')
                    .addClass('Screen')
                    .append($('<div>').addClass('ScreenTitle').text('Friends'),
                            $('<ul>').attr('id', 'FriendsList')));
    drawLeaderboardTabs();
});
