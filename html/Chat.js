// The chat panel beside the board: the program prepares it for a game
// with both players, then adds the lines (showChat), and the player's own
// lines go to the program (cef.uiapp.chatTyped). Every text is put in as
// text, never as markup.

// The players by seat: [first, second], each {name, color}.
var chatPlayers = [ {name : '', color : 0}, {name : '', color : 0} ];

function chatPlayerBox(seat, name, avatarUrl, colorImage, color) {
    var box = $('#ChatPlayer' + seat).empty().addClass('PlayerColor' + color);
    box.append($('<img class="ChatAvatar" alt="">').attr('src', avatarUrl));
    // The colour layer the avatar may lack leaves no mark.
    box.append($('<img class="ChatAvatarColor" alt="">')
                   .on('error', function() { $(this).hide(); })
                   .attr('src', 'tarnwick://data/' + colorImage));
    box.append($('<span class="ChatName"></span>').text(name));
}

// Both players' names, avatar addresses, avatars' colour images and colour
// indices; justOpened is 0 when the game was just opened, 1 after a
// rebuild of the games list. A game just opened starts with no lines.
function prepChat(firstName, firstAvatar, firstColorImage, firstColor, secondName, secondAvatar,
                  secondColorImage, secondColor, afterRebuild) {
    chatPlayers =
        [ {name : firstName, color : firstColor}, {name : secondName, color : secondColor} ];
    $('#ChatPlayers').show();
    chatPlayerBox(1, firstName, firstAvatar, firstColorImage, firstColor);
    chatPlayerBox(2, secondName, secondAvatar, secondColorImage, secondColor);
    if (!afterRebuild)
        $('#ChatText').empty();
}

// One line at the bottom: side "1" marks the first player's lines, "0" the
// second's.
function showChat(side, text) {
    var player = chatPlayers[side === '1' || side === 1 ? 0 : 1];
    var line =
        $('<div class="ChatLine"></div>').addClass(side === '1' || side === 1 ? 'Side1' : 'Side0');
    line.append($('<span class="ChatFrom"></span>').text(player.name ? player.name + ': ' : ''));
    line.append($('<span class="ChatLineText"></span>').text(text));
    $('#ChatText').append(line);
}

// Enter sends what was typed.
function chatKeyDown(event) {
    if (event.key !== 'Enter' && event.keyCode !== 13)
        return;
    var input = $('#ChatInput');
    var text = input.val();
    input.val('');
    var uiapp = (window.cef && window.cef.uiapp) ? window.cef.uiapp : null;
    if (uiapp && text)
        uiapp.chatTyped(text);
}

$(function() { $('#ChatInput').on('keydown', chatKeyDown); });
