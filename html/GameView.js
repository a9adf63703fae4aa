// The game view: the frame around the board with its back button. The
// board shows while the game view is on (the program ticks and draws it,
// and input reaches it), and the program is told each time the page
// switches to or from it.

function gameViewApp() {
  return (window.cef && window.cef.uiapp) ? window.cef.uiapp : null;
}

// The page shows the board (the program opened a game into it).
function showGameBoard() {
  $('#GameBoard').show();
  $('#GameBackButton').show();
  var uiapp = gameViewApp();
  if (uiapp) uiapp.showGameView();
}

// The page leaves the board for the menu without closing the game.
function hideGameBoard() {
  $('#GameBackButton').hide();
  var uiapp = gameViewApp();
  if (uiapp) uiapp.hideGameView();
}

// The back button: the game closes and the games list shows.
function closeGameBoard() {
  $('#GameBackButton').hide();
  var uiapp = gameViewApp();
  if (uiapp) uiapp.closeGameView();
  navigateTo('GamesListScreen');
}

$(function () {
  $('#GameBoard').addClass('GameBoardFrame');
  $('<button id="GameBackButton" class="NavButton">Back</button>')
      .on('click', closeGameBoard)
      .hide()
      .appendTo('#boardContainer');
});
